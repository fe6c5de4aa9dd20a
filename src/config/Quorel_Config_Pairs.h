#pragma once

#include "config/Quorel_Configuration.h"

// The editor's paired fields. Each setter stores the new value (limited to
// its editing range) and moves the other field of the pair when the rule
// between them would break. Files and the ECU write the fields directly and
// may leave a pair broken until the user touches it.

// GP_PressLess < PG_PressInject, kept 50 (0.01 bar) apart.
void Set_GP_PressLess(Configuration_Class& config, int value);
void Set_PG_PressInject(Configuration_Class& config, int value);

// GPG_RPM_Idle < PG_RPM, kept 100 rpm apart.
void Set_PG_RPM(Configuration_Class& config, int value);
void Set_GPG_RPM_Idle(Configuration_Class& config, int value);

// GPG_RPM_Petrol and GPG_RPM_Gas never equal: Gas moves down, Petrol up.
void Set_GPG_RPM_Petrol(Configuration_Class& config, int value);
void Set_GPG_RPM_Gas(Configuration_Class& config, int value);

// Lower + 100 < upper, the other bound moving in steps of 100. Where the
// other bound meets its range limit first, the edited one stops at the
// nearest value that keeps the rule.
void Set_GPG_2Fuel_RPM_1(Configuration_Class& config, int value);
void Set_GPG_2Fuel_RPM_2(Configuration_Class& config, int value);
void Set_GPG_2Fuel_Petrol_1(Configuration_Class& config, int value);
void Set_GPG_2Fuel_Petrol_2(Configuration_Class& config, int value);

// Hold PWM: Inject_Duty = percent × Inject_Period / 100.
int Inject_Duty_Percent(int inject_duty, int inject_period);   // 0 when the period is 0
void Set_Inject_Duty_Percent(Configuration_Class& config, int percent);
// Keeps the shown percentage.
void Set_Inject_Period(Configuration_Class& config, int period);

// Virtual RPM turns the automatic filter off, and back.
void Set_RPM_Virtual(Configuration_Class& config, bool on);

// Features the connected firmware lacks are switched off: hydraulic
// conditioning and the manual injection delay below minor 16, the
// dual-fuel function below minor 17.
void Force_Version_Flags(Configuration_Class& config, int version_number);
