#pragma once

#include "app/Quorel_Context.h"
#include "link/Quorel_Message.h"
#include "link/Quorel_Serial_Virtual.h"
#include "sim/Quorel_Sim_Ecu.h"
#include "sim/Quorel_Sim_Virtual.h"

#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <vector>

#include <gtest/gtest.h>

namespace {

const QString Line_Name = "ttyVIRT0";

// The program's context on a virtual line with the simulated ECU at its far
// end, on the virtual clock.
struct Connect_Rig
{
    QTemporaryDir dir;
    Virtual_Clock clock;
    Virtual_Serial_Port* port = nullptr;
    std::unique_ptr<Ecu_Simulator> ecu;
    std::unique_ptr<Quorel_Context> context;
    std::vector<qint64> answer_times;   // every accepted answer

    // extra_ini: further settings lines, CR LF ended, written before the
    // context reads the settings file.
    explicit Connect_Rig(const Sim_Ecu_Config& config = {}, const QByteArray& extra_ini = {})
    {
        QFile ini(dir.path() + "/QuorelGAS.ini");
        EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QByteArray("Port_Name ") + Line_Name.toLatin1() + "\r\nReply_Delay 60\r\n" + extra_ini);
        ini.close();
        auto line = std::make_unique<Virtual_Serial_Port>(clock);
        port = line.get();
        port->Set_Device_Name(Line_Name);
        ecu = std::make_unique<Ecu_Simulator>(clock, config);
        Sim_Attach_Virtual(*ecu, *port);
        context = std::make_unique<Quorel_Context>(clock, std::move(line), dir.path(), "QuorelGAS");
        context->App_Settings.Settings_Create();
        context->Frames.hooks.Port_Present = [this](const QString& name) {
            return name == Line_Name && port->Present();
        };
        auto quality = context->Frames.hooks.Link_Quality_Answer;
        context->Frames.hooks.Link_Quality_Answer = [this, quality]() {
            answer_times.push_back(clock.Now_Ms());
            quality();
        };
    }

    ~Connect_Rig()
    {
        context.reset();
        ecu.reset();
    }

    void Open()
    {
        context->ComPort->Set_Port(context->App_Settings.Port_Name);
        context->ComPort->Port_Open();
    }

    bool Connect(qint64 limit_ms = 10000)
    {
        Open();
        return clock.Advance_Until([this]() { return context->ECU_Connected; }, limit_ms);
    }

    // Command byte of every request written, in order.
    std::vector<int> Commands(size_t from = 0) const
    {
        std::vector<int> out;
        const auto& writes = port->Writes();
        for (size_t i = from; i < writes.size(); ++i)
            out.push_back(writes[i].bytes.size() > 1 ? quint8(writes[i].bytes[1]) : -1);
        return out;
    }

    int Last_Command() const
    {
        const auto& writes = port->Writes();
        return writes.empty() || writes.back().bytes.size() < 2 ? -1 : quint8(writes.back().bytes[1]);
    }

    void Silence(bool on)
    {
        Sim_Faults faults = ecu->Faults();
        faults.Silence = on;
        ecu->Set_Faults(faults);
    }

    // Advances until the next request with this command is written, then
    // silences the ECU before the request is complete on its side.
    bool Silence_At(int command, qint64 limit_ms = 10000)
    {
        const size_t from = port->Writes().size();
        const bool seen = clock.Advance_Until(
            [&]() { return port->Writes().size() > from && Last_Command() == command; }, limit_ms);
        Silence(true);
        return seen;
    }

    // The message window's text once it is shown; empty if nothing came.
    QString Shown_Message(qint64 limit_ms = 500)
    {
        if (!clock.Advance_Until([this]() { return context->Messages->Shown(); }, limit_ms))
            return QString();
        return context->Messages->Message_Text();
    }
};

[[maybe_unused]] Sim_Ecu_Config Firmware(const QString& version)
{
    Sim_Ecu_Config config;
    config.Program_Version = version;
    return config;
}

}   // namespace
