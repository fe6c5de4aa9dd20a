#pragma once

#include <QString>

// Puts a waiting launcher update in place at exit: if folder + "/QLoader_tmp"
// exists it takes the name folder + "/QLoader" in one atomic rename, so the
// old launcher is never deleted first and stays when the rename fails.
// Returns true when the update was put in place.
bool Replace_Launcher(const QString& folder);
