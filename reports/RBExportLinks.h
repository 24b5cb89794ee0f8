// The registry of export filters, which gives the save dialog of a run its file types, and the
// handlers of the link texts that a produced page may carry.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TRBPrinter;

// A way of saving a run in another file type.
class TRBExportFilter {
 public:
  virtual ~TRBExportFilter() = default;
  virtual std::string Description() const = 0;
  virtual std::string Extension() const = 0;
};

// The export filters of the process (it owns them) and the filter text of the save dialog.
class TRBExportFilterLibrary {
 public:
  void Add(std::unique_ptr<TRBExportFilter> Filter);
  int Count() const { return static_cast<int>(filters_.size()); }
  // The page file first, then each filter: "description (*.ext)|*.ext", separated by "|".
  std::string SaveDialogFilter() const;

 private:
  std::vector<std::unique_ptr<TRBExportFilter>> filters_;
};

namespace RBExportLinks {

// The process-wide library, from the unit's start to its end; EInvalidOperation outside that time.
TRBExportFilterLibrary& ExportFilterLibrary();

// A handler of link texts that start with a prefix: it receives its data, the target and the rest of
// the text.
using TRBLinkHandler = std::function<void(void* Data, TRBPrinter* Target, const std::string& Rest)>;
void RegisterLinkHandler(const std::string& Prefix, TRBLinkHandler Handler, void* Data);
int LinkHandlerCount();

// Offers Text to the handlers in their order; the first whose prefix starts the text takes it.
// Whether one took it.
bool OfferToLinkHandlers(TRBPrinter* Target, const std::string& Text);

// Follows a link text: "EXT:" (any case) opens the rest with the desktop; "INT:" offers the rest to
// the handlers; anything else is offered whole and, when no handler takes it, opened. Opening a
// document with the desktop is not built yet: it raises ENonConstruit.
void FollowLink(TRBPrinter* Target, const std::string& Text);

void Initialiser();
void Finaliser();

}  // namespace RBExportLinks
