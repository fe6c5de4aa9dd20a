#include "link/Quorel_Command.h"

#include "link/Quorel_Frame.h"

#include <algorithm>
#include <cmath>

namespace {

void Start(Frame_Exchange& frames, quint8 command)
{
    frames.Tx_Frame[0] = frames.Sent_Frame[0];
    frames.Tx_Frame[1] = command;
}

} // namespace

std::pair<quint8, quint8> Split_16(int value)
{
    if (value >= 0)
        return {quint8((value >> 8) & 0xFF), quint8(value & 0xFF)};
    const int high = int(std::floor((value + 255) / 256.0));
    return {quint8(high & 0xFF), quint8(((value % 256) + 256) % 256)};
}

int Correction_Block_Length(int w4, int w7, int w12) { return (w4 + 1) * (w7 + w12 + 2) + w12 + 4; }

void Build_Identification(Frame_Exchange& frames)
{
    frames.Sent_Frame[0] = Frame_Exchange::Class_ECU;
    Start(frames, 0x21);
    frames.Tx_Frame[2] = 0x21;
    frames.Tx_Frame[3] = 0x21;
    frames.Tx_Length = 5;
    frames.Rx_Expected = 4;
    frames.Finish_Request();
}

void Build_Read(Frame_Exchange& frames, quint8 code, int rx_expected)
{
    Start(frames, code);
    frames.Tx_Frame[2] = code;
    frames.Tx_Frame[3] = code;
    frames.Tx_Length = 5;
    frames.Rx_Expected = rx_expected;
    frames.Finish_Request();
}

void Build_Work_Mode(Frame_Exchange& frames, quint8 mask, quint8 mode)
{
    Start(frames, 0x22);
    frames.Tx_Frame[2] = mask;
    frames.Tx_Frame[3] = mode;
    frames.Rx_Expected = 3;
    frames.Finish_Request();
}

void Build_Short_Write(Frame_Exchange& frames, quint8 command, int value)
{
    Start(frames, command);
    const auto [high, low] = Split_16(value);
    frames.Tx_Frame[2] = high;
    frames.Tx_Frame[3] = low;
    frames.Tx_Length = 5;
    frames.Rx_Expected = 3;
    frames.Finish_Request();
}

void Build_Long_Write(Frame_Exchange& frames, quint8 command, const QByteArray& payload, int block_length)
{
    block_length = std::clamp(block_length, 3, Frame_Exchange::Frame_Size);
    Start(frames, command);
    const int data = block_length - 3;
    for (int i = 0; i < data; ++i)
        frames.Tx_Frame[size_t(2 + i)] = i < payload.size() ? quint8(payload[i]) : quint8(0xFF);
    frames.Tx_Length = block_length;
    frames.Rx_Expected = 3;
    frames.Finish_Request();
}
