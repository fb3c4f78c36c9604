#pragma once
// The generator records the families of catalogue.cpp are made of; each
// is defined once, in generators.cpp, generators_2.cpp or generators_3.cpp,
// and shared by every family that has it.

#include "timers/catalogue.h"

namespace timers::records {

extern const Generator kClassicT1;
extern const Generator kClassicT2;
extern const Generator kX2T1;
extern const Generator kX2T2;
extern const Generator k1tT1;
extern const Generator kStcT2;
extern const Generator kStcT1Mode0;
extern const Generator kStcT1Mode2;
extern const Generator kStcBrt;
extern const Generator kNuvotonT1;
extern const Generator kNuvotonT3;
extern const Generator kNuvotonT3Uart1;
extern const Generator kEfm8T1;
extern const Generator kC8051T1;
extern const Generator kWchT1;
extern const Generator kWchSbaud1;
extern const Generator kDsT1;
extern const Generator kDs89T1;
extern const Generator kLpT2Gen;
extern const Generator kLpT1Mode2;
extern const Generator kLpT1Mode1;
extern const Generator kXcBgGen;
extern const Generator kXcFdGen;
extern const Generator kAtmelBrgGen;
extern const Generator kLpcBrgGen;
extern const Generator kCcUart0;
extern const Generator kC517S0rel;
extern const Generator kNrfS0rel;
extern const Generator kAducT3Gen;

}  // namespace timers::records
