// The virtual clock of the fuzzers whose code under test pauses (the port's pauses between
// commands, the progress window's waits): a fuzzer linked with rxt9_fuzz_clock starts on it,
// so that every pause passes at no cost.
#pragma once

#include "platform/VirtualClock.h"

extern win::VirtualClock g_fuzzClock;
