#include "sim/Quorel_Sim_Virtual.h"

#include "link/Quorel_Serial_Virtual.h"
#include "sim/Quorel_Sim_Ecu.h"

void Sim_Attach_Virtual(Ecu_Simulator& ecu, Virtual_Serial_Port& port)
{
    port.Attach(&ecu);
    ecu.Set_Output([&port](const QByteArray& bytes) { port.Send_To_Host(bytes); });
    ecu.On_Presence_Changed = [&port](bool present) { port.Set_Present(present); };
    port.Set_Present(ecu.Present());
}
