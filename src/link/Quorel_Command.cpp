#include "link/Quorel_Command.h"

#include "link/Quorel_Frame.h"

void Build_Identification(Frame_Exchange& frames)
{
    frames.Sent_Frame[0] = Frame_Exchange::Class_ECU;
    frames.Tx_Frame[0] = frames.Sent_Frame[0];
    frames.Tx_Frame[1] = 0x21;
    frames.Tx_Frame[2] = 0x21;
    frames.Tx_Frame[3] = 0x21;
    frames.Tx_Length = 5;
    frames.Rx_Expected = 4;
    frames.Finish_Request();
}
