#include "config/Quorel_Config_Codec_Owners.h"

#include "config/Quorel_Config_Codec.h"
#include "config/Quorel_Configuration.h"
#include "language/Quorel_Text.h"
#include "link/Quorel_Frame.h"
#include "link/Quorel_Sequencer.h"

#include <algorithm>
#include <memory>

namespace {

constexpr quint32 Magenta = 0xFF00FF;
constexpr quint32 Warning_Red = 0xFF0000;

QString Problem_Text(const Encode_Problem& problem)
{
    const QString code = QString(QChar(problem.Code));
    if (problem.Status == Encode_Status::Refused)
        return QStringLiteral("Parameter %1 not sent: the pressure sensor slope C1 must be above 0").arg(code);
    return QStringLiteral("Parameter %1 is beyond the sensor's range: its largest value was sent").arg(code);
}

int Reply_Length(const Frame_Exchange& frames) { return std::clamp(frames.Rx_Length, 0, int(frames.Rx_Frame.size())); }

}   // namespace

void Install_Codec_Owners(Sequencer& sequencer, Configuration_Class& config, Frame_Exchange& frames,
                          const Temperature_Table& table, Codec_Hooks hooks)
{
    // The value list prepared last, sent by the next 0x3B write.
    auto prepared = std::make_shared<QByteArray>();
    Sequencer* seq = &sequencer;
    const Temperature_Table* temperatures = &table;

    auto prepare = [seq, prepared, &config, temperatures](const QVector<quint8>& codes) {
        Encode_Inputs inputs;
        inputs.Table = temperatures;
        inputs.RPM_Measuring = seq->RPM_Measuring;
        QVector<Encode_Problem> problems;
        *prepared = Write_Parameters_Payload(codes, config, inputs, &problems);
        if (seq->Post_Status)
            for (const Encode_Problem& problem : problems)
                seq->Post_Status(Problem_Text(problem), Warning_Red);
        return int(prepared->size() / 3);
    };
    sequencer.Prepare_All_Values = [prepare, &config]() { return prepare(Parameter_List(config.Version_Number)); };
    sequencer.Prepare_Parameter_Values = [prepare, &config](int code) {
        if (code < 'A' || code > 'u')
            return prepare({});
        return prepare(Companion_List(quint8(code), config));
    };
    sequencer.Payload_Owners[0x3B] = [prepared]() { return *prepared; };
    sequencer.Payload_Owners[0x39] = [&config]() { return Service_Time_Payload(config); };
    sequencer.Payload_Owners[0x3A] = [&config]() { return Car_Number_Payload(config.Car_Num); };

    sequencer.Command_Owners[53] = [seq, &config, &frames, hooks]() {
        if (!Decode_Service_Time(frames.Rx_Frame.data(), Reply_Length(frames), config))
            return;
        if (config.ST_Set > 0 && config.ST_Remains == 0 && seq->Post_Status)
            seq->Post_Status(Text("ST_Message_Din_Indic"), Magenta);
        if (hooks.Service_Time_Read)
            hooks.Service_Time_Read();
    };
    sequencer.Command_Owners[54] = [&config, &frames, hooks]() {
        if (Reply_Length(frames) < 11)
            return;
        config.Car_Num = Decode_Car_Number(frames.Rx_Frame.data(), Reply_Length(frames));
        if (hooks.Car_Number_Read)
            hooks.Car_Number_Read(config.Car_Num);
    };
    sequencer.Command_Owners[56] = [&config, &frames, temperatures, hooks]() {
        Decode_Configuration_Block(frames.Rx_Frame.data(), Reply_Length(frames), config, temperatures);
        if (hooks.Configuration_Read)
            hooks.Configuration_Read();
    };
}
