// The platform's printer object, over the print spooler (platform/gui/Spouleur.h): the machine's
// printers, the chosen one with its device mode, its metrics, and documents printed page by page on
// the canvas of its device context. The report library prints through it, on the shared object
// (Printers::Printer()) or on one of its own.
//
// The printer list is read from the spooler on first use (the NT family lists local and connected
// printers by name; the older family lists local printers, one entry per port, named
// "<printer> on <port>"). Until a printer is chosen the index is -1; asking for it chooses the
// spooler's default printer. Choosing a printer by index loads its default device mode; SetPrinter
// takes the device mode it is given. Failures raise EPrinter. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/objects/Exceptions.h"
#include "platform/gui/Spouleur.h"

class EPrinter : public Exception {
 public:
  using Exception::Exception;
};

class TPrinter {
 public:
  TPrinter() = default;
  // A document still printing is aborted.
  ~TPrinter();
  TPrinter(const TPrinter&) = delete;
  TPrinter& operator=(const TPrinter&) = delete;

  // The printers' display names, read on first use (an empty list when the spooler fails).
  const std::vector<std::string>& Printers();
  // Forgets the list, the chosen printer and its device mode, so that they are read again from the
  // spooler (after another spooler is installed). "Printing in progress" while printing.
  void Refresh();
  // The chosen printer; the default one is chosen first when none is (EPrinter "There is no default
  // printer currently selected" when the spooler names none that is listed).
  int PrinterIndex();
  // Chooses a printer by index (-1: the default one) and loads its default device mode. EPrinter
  // "Printer index out of range" outside the list, "Printing in progress" while printing.
  void SetPrinterIndex(int Index);
  // The chosen printer's device, driver and port names and its device mode (none when its driver
  // gives none). The mode belongs to the printer object; changes made to it hold for what it prints.
  void GetPrinter(std::string& Device, std::string& Driver, std::string& Port, TDeviceMode*& Mode);
  // Chooses the printer of that device (and port), adding it to the list when it is not there, with
  // the device mode given (or its default one without).
  void SetPrinter(const std::string& Device, const std::string& Driver, const std::string& Port,
                  const TDeviceMode* Mode);
  // What the chosen printer reports in its device mode (while printing: the document's).
  TDeviceMetrics Metrics();

  std::string Title;
  // Starts a document and its first page. EPrinter "Printer selected is not valid" when no context
  // can be made on the printer, "Printing in progress" while printing.
  void BeginDoc();
  // Ends the page and starts the next one.
  void NewPage();
  // Ends the last page and the document.
  void EndDoc();
  // Drops the document.
  void Abort();
  bool Printing() const { return printing_; }
  bool Aborted() const { return aborted_; }
  int PageNumber() const { return pageNumber_; }
  // The canvas of the page being printed; none outside a document.
  TCanvas* Canvas() const { return canvas_; }

 private:
  struct TEntry {
    std::string Device, Driver, Port;
  };
  void CheckPrinting(bool Expected) const;
  void ReadList();
  void LoadDefaultMode();
  void StartPage();

  bool listRead_ = false;
  std::vector<std::string> names_;
  std::vector<TEntry> entries_;
  int index_ = -1;
  std::optional<TDeviceMode> mode_;
  std::unique_ptr<TContexteImprimante> context_;
  TCanvas* canvas_ = nullptr;
  bool printing_ = false;
  bool aborted_ = false;
  int pageNumber_ = 0;
};

namespace Printers {

// The process's shared printer object.
TPrinter& Printer();

}  // namespace Printers
