#pragma once
// The general-purpose timer records the families of catalogue.cpp are made
// of, each defined once in tick_timers.cpp and shared by every family that
// has it.

#include "timers/catalogue.h"

namespace timers::records {

extern const TickTimer kClassicT0;
extern const TickTimer kClassicT1Tick;
extern const TickTimer kClassicT2Tick;
extern const TickTimer kX2T0;
extern const TickTimer kX2T1Tick;
extern const TickTimer kX2T2Tick;
extern const TickTimer k1tT0;
extern const TickTimer k1tT1Tick;
extern const TickTimer kStcT0Tick;
extern const TickTimer kStcT1Tick;
extern const TickTimer kStcT2Tick;
extern const TickTimer kStcT3Tick;
extern const TickTimer kStcT4Tick;
extern const TickTimer kNuvotonT0Tick;
extern const TickTimer kNuvotonT1Tick;
extern const TickTimer kEfm8T0Tick;
extern const TickTimer kEfm8T1Tick;
extern const TickTimer kC8051T0Tick;
extern const TickTimer kC8051T1Tick;
extern const TickTimer kStc12T0Tick;
extern const TickTimer kStc12T1Tick;
extern const TickTimer kLpT0Tick;
extern const TickTimer kLpT1Tick;
extern const TickTimer kLpT2Tick;
extern const TickTimer kAducT0Tick;
extern const TickTimer kAducT1Tick;
extern const TickTimer kAducT2Tick;
extern const TickTimer kDallasT0Tick;
extern const TickTimer kDallasT1Tick;
extern const TickTimer kDallasT2Tick;
extern const TickTimer kWchT0Tick;
extern const TickTimer kWchT1Tick;
extern const TickTimer kWchT2Tick;
extern const TickTimer kLpcT0Tick;
extern const TickTimer kLpcT1Tick;
extern const TickTimer kNrfT0Tick;
extern const TickTimer kNrfT1Tick;

}  // namespace timers::records
