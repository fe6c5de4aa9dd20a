#pragma once

class Ecu_Simulator;
class Virtual_Serial_Port;

// Puts the simulator at the far end of a virtual line: it hears what the
// program writes, answers into the line, and a vanishing device takes the
// line's device away.
void Sim_Attach_Virtual(Ecu_Simulator& ecu, Virtual_Serial_Port& port);
