#include "platform/gui/Printers.h"

TPrinter::~TPrinter() {
  if (printing_ && context_) context_->AbandonnerDocument();
}

void TPrinter::ReadList() {
  if (listRead_) return;
  listRead_ = true;
  TSpouleur& s = Spouleur::Actuel();
  std::vector<TInfoImprimante> infos;
  const bool nt = s.FamilleNT();
  if (!s.EnumererImprimantes(nt ? Spouleur::PRINTER_ENUM_LOCAL | Spouleur::PRINTER_ENUM_CONNECTIONS
                                : Spouleur::PRINTER_ENUM_LOCAL,
                             nt ? 4 : 5, infos))
    return;
  for (const auto& i : infos) {
    if (nt) {
      names_.push_back(i.Nom);
      entries_.push_back({i.Nom, {}, {}});
      continue;
    }
    // One entry per port of the list, blanks after the commas skipped.
    size_t p = 0;
    while (p <= i.Ports.size()) {
      const size_t virgule = std::min(i.Ports.find(',', p), i.Ports.size());
      const std::string port = i.Ports.substr(p, virgule - p);
      if (!port.empty()) {
        names_.push_back(i.Nom + " on " + port);
        entries_.push_back({i.Nom, {}, port});
      }
      p = i.Ports.find_first_not_of(' ', virgule + 1);
      if (p == std::string::npos) break;
    }
  }
}

const std::vector<std::string>& TPrinter::Printers() {
  ReadList();
  return names_;
}

void TPrinter::Refresh() {
  CheckPrinting(false);
  listRead_ = false;
  names_.clear();
  entries_.clear();
  index_ = -1;
  mode_.reset();
}

void TPrinter::CheckPrinting(bool Expected) const {
  if (printing_ != Expected) throw EPrinter(Expected ? "Printer is not currently printing" : "Printing in progress");
}

void TPrinter::LoadDefaultMode() {
  mode_.reset();
  TSpouleur& s = Spouleur::Actuel();
  const TEntry& e = entries_[static_cast<size_t>(index_)];
  uintptr_t poignee = 0;
  if (!s.OuvrirImprimante(e.Device, poignee)) return;
  TDeviceMode m;
  if (s.ModeParDefaut(poignee, e.Device, m)) mode_ = m;
  s.FermerImprimante(poignee);
}

int TPrinter::PrinterIndex() {
  if (index_ < 0) SetPrinterIndex(-1);
  return index_;
}

void TPrinter::SetPrinterIndex(int Index) {
  CheckPrinting(false);
  ReadList();
  if (Index == -1) {
    std::string name;
    const uint32_t erreur = Spouleur::Actuel().ImprimanteParDefaut(name);
    Index = -2;
    for (size_t i = 0; erreur == 0 && !name.empty() && i < entries_.size(); ++i)
      if (entries_[i].Device == name) {
        Index = static_cast<int>(i);
        break;
      }
    if (Index < 0) throw EPrinter("There is no default printer currently selected");
  }
  if (Index < 0 || Index >= static_cast<int>(entries_.size())) throw EPrinter("Printer index out of range");
  index_ = Index;
  LoadDefaultMode();
}

void TPrinter::GetPrinter(std::string& Device, std::string& Driver, std::string& Port, TDeviceMode*& Mode) {
  const TEntry& e = entries_.at(static_cast<size_t>(PrinterIndex()));
  Device = e.Device;
  Driver = e.Driver;
  Port = e.Port;
  Mode = mode_ ? &*mode_ : nullptr;
}

void TPrinter::SetPrinter(const std::string& Device, const std::string& Driver, const std::string& Port,
                          const TDeviceMode* Mode) {
  CheckPrinting(false);
  ReadList();
  int found = -1;
  for (size_t i = 0; i < entries_.size() && found < 0; ++i)
    if (entries_[i].Device == Device && (entries_[i].Port.empty() || entries_[i].Port == Port))
      found = static_cast<int>(i);
  if (found < 0) {
    entries_.push_back({Device, Driver, Port});
    names_.push_back(Port.empty() ? Device : Device + " on " + Port);
    found = static_cast<int>(entries_.size()) - 1;
  }
  index_ = found;
  if (Mode)
    mode_ = *Mode;
  else
    LoadDefaultMode();
}

TDeviceMetrics TPrinter::Metrics() {
  if (printing_) return context_->Metriques();
  const TEntry& e = entries_.at(static_cast<size_t>(PrinterIndex()));
  auto info = Spouleur::Actuel().CreerContexte(e.Driver, e.Device, e.Port, mode_ ? &*mode_ : nullptr, true);
  if (!info) throw EPrinter("Printer selected is not valid");
  return info->Metriques();
}

void TPrinter::StartPage() {
  canvas_ = context_->DebuterPage();
  if (!canvas_) {
    context_->AbandonnerDocument();
    context_.reset();
    printing_ = false;
    throw EPrinter("Printing failed");
  }
  ++pageNumber_;
}

void TPrinter::BeginDoc() {
  CheckPrinting(false);
  const TEntry& e = entries_.at(static_cast<size_t>(PrinterIndex()));
  context_ = Spouleur::Actuel().CreerContexte(e.Driver, e.Device, e.Port, mode_ ? &*mode_ : nullptr, false);
  if (!context_) throw EPrinter("Printer selected is not valid");
  if (!context_->DebuterDocument(Title)) {
    context_.reset();
    throw EPrinter("Printing failed");
  }
  printing_ = true;
  aborted_ = false;
  pageNumber_ = 0;
  StartPage();
}

void TPrinter::NewPage() {
  CheckPrinting(true);
  canvas_ = nullptr;
  context_->TerminerPage();
  StartPage();
}

void TPrinter::EndDoc() {
  CheckPrinting(true);
  canvas_ = nullptr;
  const bool ok = context_->TerminerDocument();
  context_.reset();
  printing_ = false;
  pageNumber_ = 0;
  if (!ok) throw EPrinter("Printing failed");
}

void TPrinter::Abort() {
  CheckPrinting(true);
  canvas_ = nullptr;
  context_->AbandonnerDocument();
  context_.reset();
  printing_ = false;
  aborted_ = true;
  pageNumber_ = 0;
}

namespace Printers {

TPrinter& Printer() {
  static TPrinter shared;
  return shared;
}

}  // namespace Printers
