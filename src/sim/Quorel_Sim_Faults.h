#pragma once

// Faults the simulated ECU can show; all can be switched while it runs.
struct Sim_Faults
{
    bool Silence = false;        // requests are taken but never answered
    bool Bad_Checksum = false;   // answer checksum off by one
    bool Wrong_Echo = false;     // answer repeats a different command code
    int Short_Answer = 0;        // bytes cut from the end of every answer
    int Drop_Every = 0;          // every n-th answer byte is lost (0: none)
    int Answer_Every = 1;        // only every n-th request is answered
    bool Port_Vanished = false;  // the device is gone: nothing in, nothing out

    bool operator==(const Sim_Faults&) const = default;
};
