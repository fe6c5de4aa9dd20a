#include "calibration/Quorel_Calibration_Owners.h"

#include "calibration/Quorel_Calibration_Map.h"
#include "link/Quorel_Frame.h"
#include "link/Quorel_Sequencer.h"

#include <algorithm>

void Install_Calibration_Owners(Sequencer& sequencer, Calibration_Map& map, Frame_Exchange& frames)
{
    sequencer.Map_Last_Point = map.Last_Index;
    sequencer.Command_Owners[55] = [&map, &frames]() {
        const int length = std::clamp(frames.Rx_Length, 0, int(frames.Rx_Frame.size()));
        map.Decode_Map(frames.Rx_Frame.data(), length);
    };
    sequencer.Payload_Owners[0x3C] = [&map]() { return map.Map_Payload(); };
}
