// Live-data decoding benchmark: decodes live-data answers in a loop and prints the cost of one decode, to set against the
// poll interval (about 145 ms at 9600 bit/s with the default reply delay).
//
//   QuorelLiveDecodeBench [frames]

#include "app/Quorel_Clock.h"
#include "app/Quorel_Timer.h"
#include "monitor/Quorel_Live_Decode.h"
#include "monitor/Quorel_Temperature_Table.h"
#include "sim/Quorel_Sim_Blocks.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const long frames = argc > 1 ? std::max(1L, std::atol(argv[1])) : 200000;

    // A spread of answers of the default length: injection periods, ADC
    // values and status words that change from frame to frame.
    Virtual_Clock clock;
    std::vector<QByteArray> answers;
    for (int i = 0; i < 64; ++i) {
        QByteArray data(68, '\0');
        for (int b = 0; b < data.size(); b += 2) {
            const int word = 2500 + 37 * i + 11 * b;
            data[b] = char(word & 0xFF);
            data[b + 1] = char((word >> 8) & 0x03);
        }
        answers.push_back(Sim_Blocks::Make_Frame(0x31, data));
    }

    Live_Data_Record live;
    Temperature_Table table;
    Quorel_Timer cut_off(clock, "Timer_Cut_Off", 2000, true);
    Live_Decoder decoder(live, table, cut_off);
    decoder.Config.Inject_Num = 4;
    decoder.Settings.GEN_Averaging = true;
    decoder.Settings.GEN_Averaging_Num = 10;

    long long checksum = 0;
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < frames; ++i) {
        const QByteArray& a = answers[size_t(i) % answers.size()];
        decoder.Decode_Live_Data({reinterpret_cast<const quint8*>(a.constData()), size_t(a.size())});
        checksum += live.RPM;
    }
    const auto stop = std::chrono::steady_clock::now();
    const double ns = std::chrono::duration<double, std::nano>(stop - start).count() / double(frames);
    std::printf("frames decoded    %ld (answer %lld bytes)\n", frames, (long long)answers[0].size());
    std::printf("cost per frame    %.0f ns (%.5f %% of a 145 ms poll)\n", ns, ns / 1.45e8 * 100.0);
    std::printf("(rpm sum %lld)\n", checksum);
    return 0;
}
