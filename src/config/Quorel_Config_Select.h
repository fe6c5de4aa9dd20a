#pragma once

#include "config/Quorel_Configuration.h"

// Selecting an option-list entry (1-based position) sets the list field to
// the entry's text and copies the values that come with it. A position
// outside the list changes nothing and returns false.

bool Select_Inject_Type(Configuration_Class& config, int position);
bool Select_Pump_Type(Configuration_Class& config, int position);
// "SOFTWARE" also sets GF_ETALON to 0; the level display's set-up state is
// the editor's part.
bool Select_Level_Type(Configuration_Class& config, int position);
// C1 and the offset that MAP_Sensor_C2_Absolute asks for.
bool Select_MAP_Sensor_Type(Configuration_Class& config, int position);
bool Select_Lambda_Type(Configuration_Class& config, int position);

// The absolute/relative radio buttons: C2 becomes the selected type's
// offset of that kind.
void Set_MAP_Sensor_C2_Absolute(Configuration_Class& config, bool absolute);
// After C2 was set from a file, the ECU or C2 editing: absolute when
// A + |R - A| / 2 >= C2 for the selected type's offsets A and R. With no
// valid type selected the flag keeps its value.
void Derive_MAP_Sensor_C2_Absolute(Configuration_Class& config);
