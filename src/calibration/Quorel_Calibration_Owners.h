#pragma once

class Calibration_Map;
class Frame_Exchange;
class Sequencer;

// Hands the map to the sequencer: instruction 55 decodes the 0x36 answer,
// the 0x3C write takes its payload from the map, and the map's last point
// index sizes both.
void Install_Calibration_Owners(Sequencer& sequencer, Calibration_Map& map, Frame_Exchange& frames);
