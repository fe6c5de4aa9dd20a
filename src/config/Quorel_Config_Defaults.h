#pragma once

#include "config/Quorel_Configuration.h"

#include <functional>

// The defaults procedure: every field with a default takes it, the list
// fields take the first entry of their list with that entry's values. The
// identity fields only while no ECU is connected; Inject_Num, the injector
// timing, GF_ETALON, MAP_OffSet, the car, owner and service-time fields
// keep their values. The correction factor tables are not part of this
// record: their owner resets them alongside.
void Set_Config_Defaults(Configuration_Class& config, bool ecu_connected, const Model_Names& model_names);

// The start-up order: a fresh record, the defaults, the last used file (the
// caller's loader, which may find no file), then Inject_Num = 4,
// MAP_OffSet = 500 and GF_ETALON = 1288 whatever the file held.
void Start_Up_Config(Configuration_Class& config, const Model_Names& model_names,
                     const std::function<void(Configuration_Class&)>& load_last_file);

inline constexpr int Start_Up_Inject_Num = 4;
inline constexpr int Start_Up_MAP_OffSet = 500;
inline constexpr int Start_Up_GF_ETALON = 1288;
