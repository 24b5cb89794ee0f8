// Stored reports: a report with its bands, their printable controls, the printables placed on the
// report and the components the report owns that have no parent (datasets dropped on it), in the
// object text form. Classes are found by name among the registered classes; references between
// components (linked bands, parent bands, group footers, masters, datasets) are written by name and
// resolved once every component has been read.
#pragma once

#include <string>

#include "platform/streaming/ObjectText.h"
#include "reports/BandRpt.h"

namespace BandRptFiles {

// The text of a report.
std::string WriteReport(const TCustomBandRep& Report);
ObjectText::TTextObject ReportObject(const TCustomBandRep& Report);

// Reads a report into Owner (the form): the report and its bands and printables are Owner's
// components, the report's own components its own. Any fault (syntax, unknown class or property, a
// value of the wrong kind or out of range, an unknown reference) raises EReadError and leaves nothing
// of the report behind.
TCustomBandRep* ReadReport(const std::string& Text, TComponent* Owner);

}  // namespace BandRptFiles
