#include "core/diagnostics/Trace.h"

#include "core/values/DateTime.h"

NV_DEFINE_CLASS(TCustomTraceur, TObject)
NV_DEFINE_CLASS(TCustomTracable, TObjetInterfacable)
NV_DEFINE_FINALISABLE_CLASS(TTraceurParDefaut)

TCustomTraceur::TCustomTraceur(const std::string& NomFichier) {
  enMemoire_ = NomFichier.empty();
  if (enMemoire_) flux_ = std::make_unique<TMemoryStream>();
  else flux_ = std::make_unique<TFileStream>(NomFichier, fmCreate);
}

TCustomTraceur::~TCustomTraceur() = default;

void TCustomTraceur::TracerValeur(const std::string&, const std::string& Valeur, std::string& Ligne) {
  Tracer(Valeur, Ligne);
}

namespace {
std::string Horodater() {
  int year;
  unsigned month, day, hour, minute, second, ms;
  TDateTime now = DateTime::Now();
  DateTime::DecodeDate(now, year, month, day);
  DateTime::DecodeTime(now, hour, minute, second, ms);
  const char d = FormatSettingsFixes.DateSeparator, t = FormatSettingsFixes.TimeSeparator;
  return Format("%.2d%s%.2d%s%.2d %.2d%s%.2d%s%.2d",
                {day, d, month, d, ((year % 100) + 100) % 100, hour, t, minute, t, second});
}
}  // namespace

void TCustomTraceur::Tracer(const std::string& Texte, std::string& Ligne) {
  Ligne.clear();
  if (!Actif || Texte.empty()) return;
  ++compteur_;
  if (NumerosDeLigne) Ligne = Format("[ %5d ] ", {compteur_});
  if (Horodatage) Ligne += Horodater() + " | ";
  int64_t spaces = static_cast<int64_t>(niveau_) * Indentation;
  if (spaces > 0) Ligne.append(static_cast<std::size_t>(spaces), ' ');
  Ligne += Texte;
  Ligne += "\r\n";
  if (flux_) {
    Ecrire(Ligne);
    if (SurTrace) SurTrace(this, Ligne);
  }
}

void TCustomTraceur::Ecrire(const std::string& Ligne) {
  flux_->WriteBuffer(Ligne.data(), static_cast<int64_t>(Ligne.size()));
  if (!enMemoire_ || flux_->Size() <= kMemoireMaximale) return;
  // Keep the most recent half, starting at a line boundary.
  auto* memory = static_cast<TMemoryStream*>(flux_.get());
  const auto& bytes = memory->Bytes();
  std::size_t cut = bytes.size() - static_cast<std::size_t>(kMemoireMaximale / 2);
  while (cut < bytes.size() && bytes[cut - 1] != '\n') ++cut;
  std::vector<uint8_t> kept(bytes.begin() + static_cast<std::ptrdiff_t>(cut), bytes.end());
  memory->Assign(kept.data(), kept.size());
  memory->Seek(0, TSeekOrigin::soEnd);
}

void TCustomTraceur::TracerFormat(const std::string& Fmt, std::initializer_list<TFormatArg> Args, std::string& Ligne) {
  Tracer(Format(Fmt, Args), Ligne);
}

void TCustomTraceur::FermerBloc(const std::string&, std::string& Ligne) { Ligne.clear(); }

void TCustomTraceur::TracerPropriete(const std::string& Nom, const std::string& Valeur, std::string& Ligne) {
  Tracer(Nom + " = " + Valeur, Ligne);
}

namespace {
std::unique_ptr<TCustomTraceur>& DefaultTracer() {
  static std::unique_ptr<TCustomTraceur> tracer;
  return tracer;
}
}  // namespace

TCustomTraceur* TTraceurParDefaut::Traceur() {
  auto& tracer = DefaultTracer();
  if (!tracer) {
    tracer = std::make_unique<TCustomTraceur>("");
    TClasseFinalisable::Enregistrer(StaticClass());
  }
  return tracer.get();
}

void TTraceurParDefaut::Finaliser() { DefaultTracer().reset(); }

TCustomTraceur* Trace::TraceurParDefaut() { return TTraceurParDefaut::Traceur(); }

ITracable* TCustomTracable::SetTraceActive(bool Valeur) {
  traceActive_ = Valeur;
  return this;
}

void TCustomTracable::TracerEntete(TCustomTraceur*, std::string& Texte) { Texte.clear(); }

void TCustomTracable::TracerContenu(bool, TCustomTraceur*, std::string& Texte) { Texte.clear(); }

void TCustomTracable::TracerResume(std::string& Texte) { Texte.clear(); }

void TCustomTracable::TracerComplet(bool Detail, TCustomTraceur* Traceur, std::string& Texte) {
  Texte.clear();
  if (!GetTraceActive()) return;
  if (Traceur == nullptr) Traceur = Trace::TraceurParDefaut();
  std::string part;
  Traceur->TracerValeur("classe", ClassName(), part);
  Texte += part;
  Traceur->SetNiveau(Traceur->Niveau() + 1);
  TracerEntete(Traceur, part);
  Texte += part;
  TracerContenu(Detail, Traceur, part);
  Texte += part;
  Traceur->SetNiveau(Traceur->Niveau() - 1);
  Traceur->FermerBloc("classe", part);
  Texte += part;
}

void TCustomTracable::TracerObjet(TObject* Instance, bool Detail, TCustomTraceur* Traceur, std::string& Texte) {
  Texte.clear();
  if (ITracable* t = InterfaceOf<ITracable>(Instance)) t->TracerComplet(Detail, Traceur, Texte);
}

void* TCustomTracable::GetInterfaceEntry(const TGUID& iid) {
  if (iid == ITracable::IID) return static_cast<ITracable*>(this);
  return TObjetInterfacable::GetInterfaceEntry(iid);
}
