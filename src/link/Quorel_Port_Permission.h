#pragma once

#include <QString>

// A serial device that exists but may not be opened by this user.

// The name of the group that owns the device file; empty when it cannot be
// read.
QString Device_Group(const QString& device_path);

// The caption of Panel_PortStatus for such a port.
QString Port_Denied_Caption(const QString& port_name);

// The message that names the fix: membership of the device's group (group
// may be empty when unknown), then logging in again.
QString Port_Denied_Message(const QString& port_name, const QString& device_path, const QString& group);
