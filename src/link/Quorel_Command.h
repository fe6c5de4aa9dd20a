#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <utility>

class Frame_Exchange;

// Request builders: each fills Tx_Frame, sets Tx_Length and Rx_Expected and
// finishes the request. Byte 0 is the class of the last request sent.

// Identification request 1D 21 21 21 80; its answer is 1D 21 N checksum.
void Build_Identification(Frame_Exchange& frames);
// Short read: class, code, code, code, checksum.
void Build_Read(Frame_Exchange& frames, quint8 code, int rx_expected);
// Work-mode request 0x22: gas injector mask and mode. Tx_Length stays as it
// was set before (5 in every list that sends it).
void Build_Work_Mode(Frame_Exchange& frames, quint8 mask, quint8 mode);
// Short request carrying a 16-bit number, high byte first; answered by a
// 3-byte acknowledgement.
void Build_Short_Write(Frame_Exchange& frames, quint8 command, int value);
// Long write of block_length bytes in all: payload is cut or padded with
// 0xFF to block_length - 3 bytes.
void Build_Long_Write(Frame_Exchange& frames, quint8 command, const QByteArray& payload, int block_length);

// High and low byte of a 16-bit number as requests carry it.
std::pair<quint8, quint8> Split_16(int value);

// Answer length of the correction-factor read 0x37 from words W4, W7, W12.
int Correction_Block_Length(int w4, int w7, int w12);
