#pragma once

class Frame_Exchange;

// Identification request 1D 21 21 21 80; its answer is 1D 21 N checksum.
void Build_Identification(Frame_Exchange& frames);
