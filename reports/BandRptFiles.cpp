#include "reports/BandRptFiles.h"

#include <cmath>
#include <functional>
#include <memory>
#include <set>

#include "core/objects/Exceptions.h"
#include "core/objects/GestionnaireNomsDeClasse.h"
#include "reports/RBCtrls.h"

using ObjectText::TTextObject;
using ObjectText::TTextProperty;
using ObjectText::TTextValue;

namespace BandRptFiles {
namespace {

// Bounds of what a stored report may hold, so that a hostile file cannot make a run unbounded.
constexpr int64_t kMaxFontHeight = 2000;
constexpr int64_t kMaxFrameWidth = 1000;
constexpr int64_t kMaxPenWidth = 100;
constexpr std::size_t kMaxText = 65536;

TTextValue Int(int64_t v) { return TTextValue::OfInteger(v); }
TTextValue Bool(bool v) { return TTextValue::OfIdentifier(v ? "True" : "False"); }
TTextValue Str(const std::string& v) { return TTextValue::OfString(v); }

[[noreturn]] void Bad(const std::string& Property, const std::string& Why) {
  throw EReadError("Property " + Property + ": " + Why);
}

int64_t AsInt(const TTextProperty& P, int64_t Min, int64_t Max) {
  if (P.Value.ValueKind != TTextValue::Kind::Integer) Bad(P.Name, "an integer is expected");
  if (P.Value.Integer < Min || P.Value.Integer > Max) Bad(P.Name, "out of range");
  return P.Value.Integer;
}

bool AsBool(const TTextProperty& P) {
  if (P.Value.ValueKind == TTextValue::Kind::Identifier) {
    if (P.Value.Text == "True") return true;
    if (P.Value.Text == "False") return false;
  }
  Bad(P.Name, "True or False is expected");
}

std::string AsText(const TTextProperty& P) {
  if (P.Value.ValueKind != TTextValue::Kind::String) Bad(P.Name, "a text is expected");
  if (P.Value.Text.size() > kMaxText) Bad(P.Name, "too long");
  return P.Value.Text;
}

double AsFloat(const TTextProperty& P) {
  double v = 0;
  if (P.Value.ValueKind == TTextValue::Kind::Float) v = P.Value.Float;
  else if (P.Value.ValueKind == TTextValue::Kind::Integer) v = static_cast<double>(P.Value.Integer);
  else Bad(P.Name, "a number is expected");
  if (!std::isfinite(v)) Bad(P.Name, "not a finite number");
  return v;
}

std::vector<double> AsFloats(const TTextProperty& P) {
  if (P.Value.ValueKind != TTextValue::Kind::List) Bad(P.Name, "a list of numbers is expected");
  std::vector<double> out;
  for (const TTextValue& v : P.Value.Items) {
    if (v.ValueKind == TTextValue::Kind::Float) out.push_back(v.Float);
    else if (v.ValueKind == TTextValue::Kind::Integer) out.push_back(static_cast<double>(v.Integer));
    else Bad(P.Name, "a list of numbers is expected");
  }
  return out;
}

// ---------------------------------------------------------------------------------------------
// Writing

void WriteFont(TTextObject& O, const std::string& Prefix, const TFont& F) {
  O.Add(Prefix + "Font.Name", Str(F.Name));
  O.Add(Prefix + "Font.Height", Int(F.Height));
  O.Add(Prefix + "Font.Style", Int(F.Style));
  O.Add(Prefix + "Font.Color", Int(F.Color));
}

void WriteFrame(TTextObject& O, const TRBFrame& F) {
  O.Add("Frame.Color", Int(F.Color));
  O.Add("Frame.DrawTop", Bool(F.DrawTop));
  O.Add("Frame.DrawBottom", Bool(F.DrawBottom));
  O.Add("Frame.DrawLeft", Bool(F.DrawLeft));
  O.Add("Frame.DrawRight", Bool(F.DrawRight));
  O.Add("Frame.Style", Int(static_cast<int>(F.Style)));
  O.Add("Frame.Width", Int(F.Width));
}

std::string NameOf(const TComponent* C) { return C != nullptr ? C->Name() : std::string(); }

TTextObject PrintableObject(const TRBPrintable& P) {
  TTextObject o;
  o.Name = P.Name();
  o.ClassName = P.ComponentClass()->ClassName();
  o.Add("Enabled", Bool(P.Enabled()));
  o.Add("Color", Int(P.Color()));
  o.Add("ParentFont", Bool(P.ParentFont()));
  if (!P.ParentFont()) WriteFont(o, "", P.Font());
  o.Add("Alignment", Int(static_cast<int>(P.Alignment())));
  o.Add("AlignToBand", Bool(P.AlignToBand()));
  o.Add("Transparent", Bool(P.Transparent()));
  WriteFrame(o, P.Frame);
  if (auto* label = dynamic_cast<const TRBCustomLabel*>(&P)) {
    o.Add("AutoSize", Bool(label->AutoSize));
    o.Add("AutoStretch", Bool(label->AutoStretch));
    o.Add("WordWrap", Bool(label->WordWrap));
    o.Add("FontSize", Int(label->Font().Size()));
    if (auto* expr = dynamic_cast<const TRBExpr*>(label)) {
      o.Add("Expression", Str(expr->Expression()));
      o.Add("Mask", Str(expr->Mask()));
      o.Add("Master", Str(NameOf(expr->Master)));
      o.Add("ResetAfterPrint", Bool(expr->ResetAfterPrint));
    } else {
      o.Add("Caption", Str(label->Caption()));
    }
  }
  if (auto* shape = dynamic_cast<const TRBShape*>(&P)) {
    o.Add("Shape", Int(shape->Shape()));
    o.Add("Brush.Color", Int(shape->Brush.Color));
    o.Add("Brush.Style", Int(static_cast<int>(shape->Brush.Style)));
    o.Add("Pen.Color", Int(shape->Pen.Color));
    o.Add("Pen.Width", Int(shape->Pen.Width));
    o.Add("Pen.Style", Int(static_cast<int>(shape->Pen.Style)));
    o.Add("RoundFactor", TTextValue::OfFloat(shape->RoundFactor()));
    o.Add("VertAdjust", Int(shape->VertAdjust));
  }
  o.Add("Size.Values", TTextValue::OfFloats(P.Size.Values()));
  return o;
}

const TRBComponentClass* ClassOf(const TRBCustomBand& B) {
  if (auto* s = dynamic_cast<const TRBSubDetail*>(&B)) return s->ComponentClass();
  if (auto* g = dynamic_cast<const TRBGroup*>(&B)) return g->ComponentClass();
  if (auto* c = dynamic_cast<const TRBChildBand*>(&B)) return c->ComponentClass();
  if (auto* b = dynamic_cast<const TRBBand*>(&B)) return b->ComponentClass();
  throw EWriteError("A band of an unknown class cannot be written");
}

TTextObject BandObject(const TRBCustomBand& B) {
  TTextObject o;
  o.Name = B.Name();
  o.ClassName = ClassOf(B)->ClassName();
  o.Add("BandType", Int(B.BandType()));
  o.Add("Color", Int(B.Color()));
  o.Add("Enabled", Bool(B.Enabled()));
  o.Add("AlignToBottom", Bool(B.AlignToBottom));
  o.Add("ForceNewColumn", Bool(B.ForceNewColumn));
  o.Add("ForceNewPage", Bool(B.ForceNewPage));
  o.Add("TransparentBand", Bool(B.TransparentBand));
  o.Add("KeepOnOnePage", Bool(B.KeepOnOnePage));
  o.Add("PreCaluculateBandHeight", Bool(B.PreCaluculateBandHeight));
  o.Add("LinkBand", Str(NameOf(B.LinkBand())));
  WriteFrame(o, B.Frame);
  if (auto* c = dynamic_cast<const TRBChildBand*>(&B)) o.Add("ParentBand", Str(NameOf(c->ParentBand())));
  if (auto* g = dynamic_cast<const TRBGroup*>(&B)) {
    o.Add("Expression", Str(g->Expression));
    o.Add("FooterBand", Str(NameOf(g->FooterBand())));
    o.Add("Master", Str(NameOf(g->Master())));
    o.Add("ReprintOnNewPage", Bool(g->ReprintOnNewPage));
  }
  if (auto* s = dynamic_cast<const TRBSubDetail*>(&B)) {
    o.Add("DataSet", Str(s->DataSet() != nullptr ? s->DataSet()->DataSetName() : std::string()));
    o.Add("PrintBefore", Bool(s->PrintBefore()));
    o.Add("PrintIfEmpty", Bool(s->PrintIfEmpty()));
    o.Add("HeaderBand", Str(NameOf(s->HeaderBand())));
    o.Add("FooterBand", Str(NameOf(s->FooterBand())));
    o.Add("Master", Str(NameOf(s->Master())));
  }
  o.Add("Size.Values", TTextValue::OfFloats(B.Size.Values()));
  for (int i = 0; i < B.ControlCount(); ++i)
    if (auto* p = dynamic_cast<const TRBPrintable*>(B.Controls(i))) o.Children.push_back(PrintableObject(*p));
  return o;
}

void WriteSettings(TTextObject& O, const TBandRepPrinterSettings& S) {
  const std::string p = "PrinterSettings.";
  O.Add(p + "Copies", Int(S.Copies));
  O.Add(p + "OutputBin", Int(static_cast<int>(S.OutputBin)));
  O.Add(p + "Duplex", Bool(S.Duplex));
  O.Add(p + "FirstPage", Int(S.FirstPage));
  O.Add(p + "LastPage", Int(S.LastPage));
  O.Add(p + "UseStandardprinter", Bool(S.UseStandardprinter));
  O.Add(p + "UseCustomBinCode", Bool(S.UseCustomBinCode));
  O.Add(p + "CustomBinCode", Int(S.CustomBinCode));
  O.Add(p + "ExtendedDuplex", Int(S.ExtendedDuplex));
  O.Add(p + "UseCustomPaperCode", Bool(S.UseCustomPaperCode));
  O.Add(p + "CustomPaperCode", Int(S.CustomPaperCode));
  O.Add(p + "PrintMetaFile", Bool(S.PrintMetaFile));
  if (S.MemoryLimit != 250000) O.Add(p + "MemoryLimit", Int(S.MemoryLimit));
  if (S.PrintQuality != 0) O.Add(p + "PrintQuality", Int(S.PrintQuality));
  O.Add(p + "Collate", Int(S.Collate));
  O.Add(p + "ColorOption", Int(S.ColorOption));
}

}  // namespace

TTextObject ReportObject(const TCustomBandRep& Report) {
  TTextObject o;
  o.Name = Report.Name();
  auto* bandRep = dynamic_cast<const TBandRep*>(&Report);
  if (bandRep == nullptr) throw EWriteError("Only a TBandRep can be written");
  o.ClassName = bandRep->ComponentClass()->ClassName();
  WriteFont(o, "", Report.Font());
  o.Add("ReportFontSize", Int(Report.ReportFontSize()));
  WriteFrame(o, Report.Frame);
  o.Add("BackImageControl", Str(Report.BackImageControl));
  o.Add("DataSet", Str(bandRep->DataSet() != nullptr ? bandRep->DataSet()->DataSetName() : std::string()));
  o.Add("Description", TTextValue::OfStrings(Report.Description));
  Report.Functions.WriteProperties(o, "Functions.");
  std::vector<std::string> options;
  if (Report.Options & FirstPageHeader) options.push_back("FirstPageHeader");
  if (Report.Options & LastPageFooter) options.push_back("LastPageFooter");
  if (Report.Options & Compression) options.push_back("Compression");
  o.Add("Options", TTextValue::OfSet(options));
  o.Add("Page.Columns", Int(Report.Page.Columns()));
  o.Add("Page.Orientation", Int(Report.Page.Orientation()));
  o.Add("Page.PaperSize", Int(static_cast<int>(Report.Page.PaperSize())));
  o.Add("Page.Ruler", Bool(Report.Page.Ruler()));
  o.Add("Page.Values", TTextValue::OfFloats(Report.Page.Values()));
  WriteSettings(o, Report.PrinterSettings);
  o.Add("PrintIfEmpty", Bool(Report.PrintIfEmpty()));
  o.Add("ReportTitle", Str(Report.ReportTitle));
  o.Add("ShowProgress", Bool(Report.ShowProgress));
  o.Add("SnapToGrid", Bool(Report.SnapToGrid));
  o.Add("Units", Int(static_cast<int>(Report.Units())));
  o.Add("Zoom", Int(Report.Zoom));
  o.Add("PreviewWidth", Int(Report.PreviewWidth));
  o.Add("PreviewHeight", Int(Report.PreviewHeight));
  o.Add("PrevShowThumbs", Bool(Report.PrevShowThumbs));
  o.Add("PrevShowSearch", Bool(Report.PrevShowSearch));
  for (TRBCustomBand* b : Report.BandOrder) o.Children.push_back(BandObject(*b));
  for (int i = 0; i < Report.ControlCount(); ++i)
    if (auto* p = dynamic_cast<const TRBPrintable*>(Report.Controls(i))) o.Children.push_back(PrintableObject(*p));
  // The report's own components without a parent: its datasets.
  for (int i = 0; i < Report.ComponentCount(); ++i)
    if (auto* ds = dynamic_cast<const TMemDataSet*>(Report.Components(i))) {
      TTextObject d;
      d.Name = ds->Name();
      d.ClassName = "TMemDataSet";
      std::vector<std::string> fields;
      for (int f = 0; f < ds->FieldCount(); ++f)
        fields.push_back(ds->Fields(f)->FieldName() + "=" + std::to_string(static_cast<int>(ds->Fields(f)->DataType())));
      d.Add("Fields", TTextValue::OfStrings(fields));
      o.Children.push_back(std::move(d));
    }
  return o;
}

std::string WriteReport(const TCustomBandRep& Report) { return ObjectText::Write(ReportObject(Report)); }

// ---------------------------------------------------------------------------------------------
// Reading

namespace {

class Reader {
 public:
  explicit Reader(TComponent* Owner) : owner_(Owner) {}

  TCustomBandRep* Read(const TTextObject& Root) {
    const TRBComponentClass* cls = Lookup(Root.ClassName);
    if (cls != TBandRep::StaticClass()) throw EReadError("A stored report must be a TBandRep, not " + Root.ClassName);
    report_ = static_cast<TBandRep*>(cls->Create(owner_));
    made_.push_back(report_);
    report_->Loading = true;
    if (owner_ == nullptr) owner_ = report_;
    report_->SetName(Root.Name);
    if (owner_ != report_) report_->SetParent(dynamic_cast<TWinControl*>(owner_));
    // The datasets first, so that references to them resolve.
    for (const TTextObject& child : Root.Children)
      if (child.ClassName == "TMemDataSet") ReadDataSet(child);
    for (const TTextProperty& p : Root.Properties) ReadReportProperty(p);
    for (const TTextObject& child : Root.Children) {
      if (child.ClassName == "TMemDataSet") continue;
      const TRBComponentClass* c = Lookup(child.ClassName);
      if (c->InheritsFrom(TRBPrintable::StaticClass())) ReadPrintable(child, report_);
      else ReadBand(child);
    }
    for (auto& resolve : pending_) resolve();
    for (auto& apply : sizes_) apply();
    report_->Loading = false;
    report_->ResizeToPage();
    report_->RebuildBandOrder();
    report_->LayoutBands();
    return report_;
  }

  // Frees what was made when the reading fails.
  void Undo() {
    if (report_ != nullptr) report_->Loading = false;
    for (auto it = made_.rbegin(); it != made_.rend(); ++it)
      if (*it != report_) delete *it;
    delete report_;
  }

 private:
  const TRBComponentClass* Lookup(const std::string& Name) {
    auto* c = dynamic_cast<const TRBComponentClass*>(TGestionnaireNomsDeClasse::ChercherClasse(Name));
    if (c == nullptr) throw EReadError("Class " + Name + " not found");
    return c;
  }

  void Named(TComponent* C, const std::string& Name, TComponent* Owner) {
    if (!Name.empty() && Owner->FindComponent(Name) != nullptr && Owner->FindComponent(Name) != C)
      throw EReadError("A component named " + Name + " already exists");
    C->SetName(Name);
  }

  TComponent* Find(const std::string& Name, const std::string& Property) {
    if (Name.empty()) return nullptr;
    TComponent* c = owner_ != nullptr ? owner_->FindComponent(Name) : nullptr;
    if (c == nullptr) c = report_->FindComponent(Name);
    if (c == nullptr) throw EReadError("Property " + Property + ": " + Name + " not found");
    return c;
  }

  template <class T>
  T* FindAs(const std::string& Name, const std::string& Property) {
    TComponent* c = Find(Name, Property);
    if (c == nullptr) return nullptr;
    auto* t = dynamic_cast<T*>(c);
    if (t == nullptr) throw EReadError("Property " + Property + ": " + Name + " is of another class");
    return t;
  }

  void ReadDataSet(const TTextObject& O) {
    auto* ds = new TMemDataSet(report_);
    made_.push_back(ds);
    Named(ds, O.Name, report_);
    std::vector<TMemDataSet::FieldDef> defs;
    for (const TTextProperty& p : O.Properties) {
      if (p.Name != "Fields") throw EReadError("Property " + p.Name + " unknown in TMemDataSet");
      for (const std::string& f : ObjectText::Strings(p.Value, p.Name)) {
        const std::size_t eq = f.rfind('=');
        if (eq == std::string::npos || eq + 1 >= f.size()) Bad(p.Name, "a field is name=type");
        int type = 0;
        for (char c : f.substr(eq + 1)) {
          if (c < '0' || c > '9' || type > 100) Bad(p.Name, "a field type is a number");
          type = type * 10 + (c - '0');
        }
        if (type > static_cast<int>(TFieldType::ftDateTime)) Bad(p.Name, "unknown field type");
        defs.push_back({f.substr(0, eq), static_cast<TFieldType>(type)});
      }
    }
    ds->DefineFields(std::move(defs));
  }

  bool ReadFont(TControl& C, const TTextProperty& P) {
    TFont f = C.Font();
    if (P.Name == "Font.Name") f.Name = AsText(P);
    else if (P.Name == "Font.Height") f.Height = static_cast<int>(AsInt(P, 1, kMaxFontHeight));
    else if (P.Name == "Font.Style") f.Style = static_cast<uint8_t>(AsInt(P, 0, 15));
    else if (P.Name == "Font.Color") f.Color = static_cast<TColor>(AsInt(P, INT32_MIN, INT32_MAX));
    else return false;
    C.SetFont(f);
    return true;
  }

  bool ReadFrame(TRBFrame& F, const TTextProperty& P) {
    if (P.Name == "Frame.Color") F.Color = static_cast<TColor>(AsInt(P, INT32_MIN, INT32_MAX));
    else if (P.Name == "Frame.DrawTop") F.DrawTop = AsBool(P);
    else if (P.Name == "Frame.DrawBottom") F.DrawBottom = AsBool(P);
    else if (P.Name == "Frame.DrawLeft") F.DrawLeft = AsBool(P);
    else if (P.Name == "Frame.DrawRight") F.DrawRight = AsBool(P);
    else if (P.Name == "Frame.Style") F.Style = static_cast<TPenStyle>(AsInt(P, 0, 3));
    else if (P.Name == "Frame.Width") F.Width = static_cast<int32_t>(AsInt(P, -kMaxFrameWidth, kMaxFrameWidth));
    else return false;
    return true;
  }

  void ReadReportProperty(const TTextProperty& P) {
    TBandRep& r = *report_;
    TBandRepPrinterSettings& s = r.PrinterSettings;
    const std::string& n = P.Name;
    if (ReadFont(r, P) || ReadFrame(r.Frame, P)) return;
    if (n.rfind("Functions.", 0) == 0) return;  // read as a whole below
    if (n == "ReportFontSize") r.SetReportFontSize(static_cast<int32_t>(AsInt(P, -kMaxFontHeight, kMaxFontHeight)));
    else if (n == "BackImageControl") r.BackImageControl = AsText(P);
    else if (n == "DataSet") {
      const std::string name = AsText(P);
      pending_.push_back([this, name, n] { report_->SetDataSet(FindAs<TMemDataSet>(name, n)); });
    } else if (n == "Description") r.Description = ObjectText::Strings(P.Value, n);
    else if (n == "Options") {
      if (P.Value.ValueKind != TTextValue::Kind::Set) Bad(n, "a set is expected");
      uint8_t o = 0;
      for (const std::string& m : P.Value.Names) {
        if (m == "FirstPageHeader") o |= FirstPageHeader;
        else if (m == "LastPageFooter") o |= LastPageFooter;
        else if (m == "Compression") o |= Compression;
        else Bad(n, "unknown option " + m);
      }
      r.Options = o;
    } else if (n == "Page.Columns") r.Page.ReadColumns(AsInt(P, INT64_MIN, INT64_MAX));
    else if (n == "Page.Orientation") r.Page.ReadOrientation(AsInt(P, INT64_MIN, INT64_MAX));
    else if (n == "Page.PaperSize") r.Page.ReadPaperSize(AsInt(P, INT64_MIN, INT64_MAX));
    else if (n == "Page.Ruler") r.Page.SetRuler(AsBool(P));
    else if (n == "Page.Values") r.Page.ReadValues(AsFloats(P));
    else if (n == "PrinterSettings.Copies") s.Copies = static_cast<int32_t>(AsInt(P, 0, 9999));
    else if (n == "PrinterSettings.OutputBin") s.OutputBin = static_cast<TRBBin>(AsInt(P, 0, kBinCount - 1));
    else if (n == "PrinterSettings.Duplex") s.Duplex = AsBool(P);
    else if (n == "PrinterSettings.FirstPage") s.FirstPage = static_cast<int32_t>(AsInt(P, 0, INT32_MAX));
    else if (n == "PrinterSettings.LastPage") s.LastPage = static_cast<int32_t>(AsInt(P, 0, INT32_MAX));
    else if (n == "PrinterSettings.UseStandardprinter") s.UseStandardprinter = AsBool(P);
    else if (n == "PrinterSettings.UseCustomBinCode") s.UseCustomBinCode = AsBool(P);
    else if (n == "PrinterSettings.CustomBinCode") s.CustomBinCode = static_cast<int32_t>(AsInt(P, INT32_MIN, INT32_MAX));
    else if (n == "PrinterSettings.ExtendedDuplex") s.ExtendedDuplex = static_cast<int32_t>(AsInt(P, INT32_MIN, INT32_MAX));
    else if (n == "PrinterSettings.UseCustomPaperCode") s.UseCustomPaperCode = AsBool(P);
    else if (n == "PrinterSettings.CustomPaperCode") s.CustomPaperCode = static_cast<int32_t>(AsInt(P, INT32_MIN, INT32_MAX));
    else if (n == "PrinterSettings.PrintMetaFile") s.PrintMetaFile = AsBool(P);
    else if (n == "PrinterSettings.MemoryLimit") s.MemoryLimit = static_cast<int32_t>(AsInt(P, 0, INT32_MAX));
    else if (n == "PrinterSettings.PrintQuality") s.PrintQuality = static_cast<int32_t>(AsInt(P, INT32_MIN, INT32_MAX));
    else if (n == "PrinterSettings.Collate") s.Collate = static_cast<int32_t>(AsInt(P, INT32_MIN, INT32_MAX));
    else if (n == "PrinterSettings.ColorOption") s.ColorOption = static_cast<int32_t>(AsInt(P, INT32_MIN, INT32_MAX));
    else if (n == "PrintIfEmpty") r.SetPrintIfEmpty(AsBool(P));
    else if (n == "ReportTitle") r.ReportTitle = AsText(P);
    else if (n == "ShowProgress") r.ShowProgress = AsBool(P);
    else if (n == "SnapToGrid") r.SnapToGrid = AsBool(P);
    else if (n == "Units") r.Page.Units = r.Page.SavedUnits = static_cast<TRBUnit>(AsInt(P, 0, 4));
    else if (n == "Zoom") r.Zoom = r.Page.Zoom = static_cast<int32_t>(AsInt(P, 1, 300));
    else if (n == "PreviewWidth") r.PreviewWidth = static_cast<int32_t>(AsInt(P, INT32_MIN, INT32_MAX));
    else if (n == "PreviewHeight") r.PreviewHeight = static_cast<int32_t>(AsInt(P, INT32_MIN, INT32_MAX));
    else if (n == "PrevShowThumbs") r.PrevShowThumbs = AsBool(P);
    else if (n == "PrevShowSearch") r.PrevShowSearch = AsBool(P);
    else throw EReadError("Property " + n + " unknown in TBandRep");
    if (n == "PreviewWidth" && r.PreviewWidth <= 0) r.PreviewWidth = 500;
    if (n == "PreviewHeight" && r.PreviewHeight <= 0) r.PreviewHeight = 500;
  }

  void ReadBand(const TTextObject& O) {
    const TRBComponentClass* cls = Lookup(O.ClassName);
    if (!cls->InheritsFrom(TRBBand::StaticClass())) throw EReadError("Class " + O.ClassName + " is not a band");
    auto* band = dynamic_cast<TRBCustomBand*>(cls->Create(owner_));
    made_.push_back(band);
    Named(band, O.Name, owner_);
    band->SetParent(report_);
    for (const TTextProperty& p : O.Properties) ReadBandProperty(*band, p);
    for (const TTextObject& child : O.Children) {
      const TRBComponentClass* c = Lookup(child.ClassName);
      if (!c->InheritsFrom(TRBPrintable::StaticClass())) throw EReadError("A band holds printable controls only");
      ReadPrintable(child, band);
    }
  }

  void ReadBandProperty(TRBCustomBand& B, const TTextProperty& P) {
    const std::string& n = P.Name;
    if (ReadFrame(B.Frame, P)) return;
    if (n == "BandType") B.SetBandTypeQuiet(static_cast<TRBBandType>(AsInt(P, 0, kBandTypeCount - 1)));
    else if (n == "Color") B.SetColor(static_cast<TColor>(AsInt(P, INT32_MIN, INT32_MAX)));
    else if (n == "Enabled") B.SetEnabled(AsBool(P));
    else if (n == "AlignToBottom") B.AlignToBottom = AsBool(P);
    else if (n == "ForceNewColumn") B.ForceNewColumn = AsBool(P);
    else if (n == "ForceNewPage") B.ForceNewPage = AsBool(P);
    else if (n == "TransparentBand") B.TransparentBand = AsBool(P);
    else if (n == "KeepOnOnePage") B.KeepOnOnePage = AsBool(P);
    else if (n == "PreCaluculateBandHeight") B.PreCaluculateBandHeight = AsBool(P);
    else if (n == "Size.Values") {
      const std::vector<double> v = AsFloats(P);
      B.Size.ReadValues(v);
      sizes_.push_back([&B, v] {
        B.Size.ReadValues(v);
        B.Size.ApplyToControl();
      });
    } else if (n == "LinkBand") {
      const std::string name = AsText(P);
      pending_.push_back([this, &B, name, n] {
        if (!B.SetLinkBand(FindAs<TRBCustomBand>(name, n))) Bad(n, "circular linking");
      });
    } else if (auto* c = dynamic_cast<TRBChildBand*>(&B); c != nullptr && n == "ParentBand") {
      const std::string name = AsText(P);
      pending_.push_back([this, c, name, n] {
        if (!c->SetParentBand(FindAs<TRBCustomBand>(name, n))) Bad(n, "circular linking");
      });
    } else if (auto* g = dynamic_cast<TRBGroup*>(&B); g != nullptr && n == "Expression") {
      g->Expression = AsText(P);
    } else if (g != nullptr && n == "ReprintOnNewPage") {
      g->ReprintOnNewPage = AsBool(P);
    } else if (g != nullptr && n == "FooterBand") {
      const std::string name = AsText(P);
      pending_.push_back([this, g, name, n] {
        TRBCustomBand* f = FindAs<TRBCustomBand>(name, n);
        if (f != nullptr) {
          const TRBBandType t = f->BandType();
          g->SetFooterBand(f);
          f->SetBandTypeQuiet(t);
        }
      });
    } else if (g != nullptr && n == "Master") {
      const std::string name = AsText(P);
      pending_.push_back([this, g, name, n] {
        TComponent* m = Find(name, n);
        if (m != nullptr && dynamic_cast<TRBControllerBand*>(m) == nullptr && dynamic_cast<TCustomBandRep*>(m) == nullptr)
          Bad(n, name + " is not a report or a controller band");
        g->SetMaster(m);
      });
    } else if (auto* s = dynamic_cast<TRBSubDetail*>(&B); s != nullptr && n == "DataSet") {
      const std::string name = AsText(P);
      pending_.push_back([this, s, name, n] { s->SetDataSet(FindAs<TMemDataSet>(name, n)); });
    } else if (s != nullptr && n == "PrintBefore") {
      s->Controller()->SetPrintBefore(AsBool(P));
    } else if (s != nullptr && n == "PrintIfEmpty") {
      s->SetPrintIfEmpty(AsBool(P));
    } else if (s != nullptr && (n == "HeaderBand" || n == "FooterBand")) {
      const std::string name = AsText(P);
      pending_.push_back([this, s, name, n] {
        TRBCustomBand* b = FindAs<TRBCustomBand>(name, n);
        (n == "HeaderBand" ? s->Controller()->Header : s->Controller()->Footer) = b;
      });
    } else if (s != nullptr && n == "Master") {
      const std::string name = AsText(P);
      pending_.push_back([this, s, name, n] {
        if (!s->SetMaster(Find(name, n))) Bad(n, "not a master of a sub-detail band");
      });
    } else {
      throw EReadError("Property " + n + " unknown in " + B.ComponentClass()->ClassName());
    }
  }

  void ReadPrintable(const TTextObject& O, TWinControl* Parent) {
    const TRBComponentClass* cls = Lookup(O.ClassName);
    auto* p = dynamic_cast<TRBPrintable*>(cls->Create(owner_));
    made_.push_back(p);
    Named(p, O.Name, owner_);
    p->SetParent(Parent);
    auto* label = dynamic_cast<TRBCustomLabel*>(p);
    auto* expr = dynamic_cast<TRBExpr*>(p);
    auto* shape = dynamic_cast<TRBShape*>(p);
    for (const TTextProperty& P : O.Properties) {
      const std::string& n = P.Name;
      if (ReadFont(*p, P) || ReadFrame(p->Frame, P)) continue;
      if (n == "Enabled") p->SetEnabled(AsBool(P));
      else if (n == "Color") p->SetColor(static_cast<TColor>(AsInt(P, INT32_MIN, INT32_MAX)));
      else if (n == "ParentFont") p->SetParentFont(AsBool(P));
      else if (n == "Alignment") p->SetAlignment(static_cast<TAlignment>(AsInt(P, 0, 2)));
      else if (n == "AlignToBand") p->SetAlignToBand(AsBool(P));
      else if (n == "Transparent") p->SetTransparent(AsBool(P));
      else if (n == "Size.Values") {
        const std::vector<double> v = AsFloats(P);
        p->Size.ReadValues(v);
        sizes_.push_back([p, v] {
          p->Size.ReadValues(v);
          p->Size.ApplyToControl();
        });
      } else if (label != nullptr && n == "AutoSize") label->AutoSize = AsBool(P);
      else if (label != nullptr && n == "AutoStretch") label->AutoStretch = AsBool(P);
      else if (label != nullptr && n == "WordWrap") label->WordWrap = AsBool(P);
      else if (label != nullptr && n == "FontSize") {
        label->FontSize = static_cast<int32_t>(AsInt(P, INT32_MIN, INT32_MAX));
        if (label->FontSize > 0 && label->FontSize <= kMaxFontHeight && !p->ParentFont()) {
          TFont f = p->Font();
          if (f.Size() != label->FontSize) f.SetSize(label->FontSize);
          p->SetFont(f);
        }
      } else if (label != nullptr && expr == nullptr && n == "Caption") {
        label->SetCaption(AsText(P));
        label->PrintCaption = label->Caption();
      } else if (expr != nullptr && n == "Expression") expr->SetExpression(AsText(P));
      else if (expr != nullptr && n == "Mask") {
        const std::string e = expr->Expression();
        expr->SetMask(AsText(P));
        expr->SetExpression(e);
      } else if (expr != nullptr && n == "ResetAfterPrint") expr->ResetAfterPrint = AsBool(P);
      else if (expr != nullptr && n == "Master") {
        const std::string name = AsText(P);
        pending_.push_back([this, expr, name, n] { expr->Master = Find(name, n); });
      } else if (shape != nullptr && n == "Shape") shape->SetShape(static_cast<TRBShapeType>(AsInt(P, 0, 10)));
      else if (shape != nullptr && n == "Brush.Color") shape->Brush.Color = static_cast<TColor>(AsInt(P, INT32_MIN, INT32_MAX));
      else if (shape != nullptr && n == "Brush.Style") shape->Brush.Style = static_cast<TBrushStyle>(AsInt(P, 0, 1));
      else if (shape != nullptr && n == "Pen.Color") shape->Pen.Color = static_cast<TColor>(AsInt(P, INT32_MIN, INT32_MAX));
      else if (shape != nullptr && n == "Pen.Width") shape->Pen.Width = static_cast<int>(AsInt(P, 0, kMaxPenWidth));
      else if (shape != nullptr && n == "Pen.Style") shape->Pen.Style = static_cast<TPenStyle>(AsInt(P, 0, 3));
      else if (shape != nullptr && n == "RoundFactor") shape->SetRoundFactor(static_cast<float>(AsFloat(P)));
      else if (shape != nullptr && n == "VertAdjust") shape->VertAdjust = static_cast<int32_t>(AsInt(P, INT32_MIN, INT32_MAX));
      else throw EReadError("Property " + n + " unknown in " + O.ClassName);
    }
    if (!O.Children.empty()) throw EReadError("A printable control holds no components");
  }

  TComponent* owner_;
  TBandRep* report_ = nullptr;
  std::vector<TComponent*> made_;
  std::vector<std::function<void()>> pending_;
  std::vector<std::function<void()>> sizes_;
};

}  // namespace

TCustomBandRep* ReadReport(const std::string& Text, TComponent* Owner) {
  const TTextObject root = ObjectText::Read(Text);
  Reader reader(Owner);
  try {
    TCustomBandRep* report = reader.Read(root);
    report->Functions.ReadProperties(root, "Functions.");
    return report;
  } catch (...) {
    reader.Undo();
    throw;
  }
}

}  // namespace BandRptFiles
