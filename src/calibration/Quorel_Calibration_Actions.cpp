#include "calibration/Quorel_Calibration_Actions.h"

#include "app/Quorel_Context.h"
#include "calibration/Quorel_Calibration_Map.h"

Calibration_Actions::Calibration_Actions(Quorel_Context& context, Calibration_Map& map) : context_(context), map_(map)
{
}

bool Calibration_Actions::Receive()
{
    if (!context_.ECU_Connected)
        return false;
    context_.Pending_Request =
        context_.App_Settings.Save_Load_Data ? Request_Read_Configuration : Request_Read_Map;
    return true;
}

bool Calibration_Actions::Transmit()
{
    if (!context_.ECU_Connected)
        return false;
    context_.Pending_Request =
        context_.App_Settings.Save_Load_Data ? Request_Write_Configuration : Request_Write_Map;
    return true;
}

bool Calibration_Actions::Save()
{
    if (!Save_Configuration)
        return false;
    Save_Configuration();
    return true;
}

bool Calibration_Actions::Load()
{
    if (!Load_Configuration || !Load_Configuration())
        return false;
    if (Redraw_Graph)
        Redraw_Graph();
    return true;
}

void Calibration_Actions::Default()
{
    if (Clear_Selection)
        Clear_Selection();
    map_.Set_Default_Map();
    if (Redraw_Graph)
        Redraw_Graph();
}
