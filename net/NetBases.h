// The open base as the record files and the base-stream readers share it: the full name of its file,
// the flags of the base being read and the switch that suspends change notifications.
#pragma once

#include <string>

namespace NetBases {

// The full file name of the open base.
std::string& NomBase();
// Set by the base-header reader while a base is read: the base is older than format version 5.0.6,
// so the record files compare its version with their older layouts.
bool& BaseAnterieure506();
// Suspends change notifications; false at start-up and never set by this system.
bool& NotificationsSuspendues();
// Called after a setting of the base was changed locally; it does nothing.
void ApresModificationLocale();

void Initialiser();
void Finaliser();

}  // namespace NetBases
