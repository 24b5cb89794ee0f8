#include "reports/RBExportLinks.h"

#include "core/objects/Exceptions.h"

namespace {

struct TLinkSource {
  std::string Prefix;
  RBExportLinks::TRBLinkHandler Handler;
  void* Data;
};

std::unique_ptr<TRBExportFilterLibrary> gLibrary;
// Created on first use, freed at the unit's end.
std::unique_ptr<std::vector<TLinkSource>> gLinkSources;

bool StartsWithNoCase(const std::string& Text, const char* Prefix) {
  for (size_t i = 0; Prefix[i] != '\0'; ++i) {
    if (i >= Text.size()) return false;
    char c = Text[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != Prefix[i]) return false;
  }
  return true;
}

void OpenWithDesktop(const std::string& Document) {
  throw ENonConstruit("RBExportLinks: opening \"" + Document + "\" with the desktop is not built yet");
}

}  // namespace

void TRBExportFilterLibrary::Add(std::unique_ptr<TRBExportFilter> Filter) { filters_.push_back(std::move(Filter)); }

std::string TRBExportFilterLibrary::SaveDialogFilter() const {
  std::string text = std::string("BandReport file") + " (*." + "RBP" + ")|*." + "RBP";
  for (const auto& f : filters_) {
    const std::string ext = f->Extension();
    text += "|" + f->Description() + " (*." + ext + ")|*." + ext;
  }
  return text;
}

TRBExportFilterLibrary& RBExportLinks::ExportFilterLibrary() {
  if (!gLibrary) throw Exception("RBExportLinks: the export filter library exists only while the unit runs");
  return *gLibrary;
}

void RBExportLinks::RegisterLinkHandler(const std::string& Prefix, TRBLinkHandler Handler, void* Data) {
  if (!gLinkSources) gLinkSources = std::make_unique<std::vector<TLinkSource>>();
  gLinkSources->push_back({Prefix, std::move(Handler), Data});
}

int RBExportLinks::LinkHandlerCount() { return gLinkSources ? static_cast<int>(gLinkSources->size()) : 0; }

bool RBExportLinks::OfferToLinkHandlers(TRBPrinter* Target, const std::string& Text) {
  if (!gLinkSources) return false;
  for (const TLinkSource& s : *gLinkSources) {
    if (Text.compare(0, s.Prefix.size(), s.Prefix) == 0) {
      s.Handler(s.Data, Target, Text.substr(s.Prefix.size()));
      return true;
    }
  }
  return false;
}

void RBExportLinks::FollowLink(TRBPrinter* Target, const std::string& Text) {
  if (StartsWithNoCase(Text, "EXT:")) {
    OpenWithDesktop(Text.substr(4));
  } else if (StartsWithNoCase(Text, "INT:")) {
    OfferToLinkHandlers(Target, Text.substr(4));
  } else if (!OfferToLinkHandlers(Target, Text)) {
    OpenWithDesktop(Text);
  }
}

void RBExportLinks::Initialiser() { gLibrary = std::make_unique<TRBExportFilterLibrary>(); }

void RBExportLinks::Finaliser() {
  gLibrary.reset();
  gLinkSources.reset();
}
