#pragma once

#include <QString>

#include <functional>

class Configuration_Class;
class Frame_Exchange;
class Sequencer;
class Temperature_Table;

// What the codec's sequencer steps hand on to other modules.
struct Codec_Hooks
{
    // After a car-number reply: the number read (empty when none is stored);
    // the configuration file name and the car and owner fields follow it.
    std::function<void(const QString& car_num)> Car_Number_Read;
    // After a configuration or service-time reply: the editor shows the values.
    std::function<void()> Configuration_Read;
    std::function<void()> Service_Time_Read;
};

// Hands the configuration to the sequencer: instruction 53 decodes the
// service-time reply, 54 the car number, 56 the configuration block;
// instructions 66 and 91 prepare the value list of the 0x3B write (all
// codes, or one code with its companions), and the 0x39 and 0x3A writes
// take the service time and the car number.
void Install_Codec_Owners(Sequencer& sequencer, Configuration_Class& config, Frame_Exchange& frames,
                          const Temperature_Table& table, Codec_Hooks hooks = {});
