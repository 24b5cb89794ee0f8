#include "core/values/Codage.h"

#include <cmath>
#include <cstring>

#include "core/values/Ansi1252.h"
#include "core/objects/ClasseFinalisable.h"
#include "core/values/Collation.h"
#include "core/values/Cryptage.h"
#include "core/values/DateTime.h"
#include "core/values/Format.h"
#include "core/objects/GestionnaireNomsDeClasse.h"

const TCustomCodage::Class* TCustomCodage::StaticClass() {
  static const TCodageClassOf<TCustomCodage> descriptor("TCustomCodage", TCustomSerializable::StaticClass());
  return &descriptor;
}

void TCustomCodage::Class::Coder(const std::string& Clair, const std::string& Cle, std::string& Code) const {
  const std::string cle = Cle.empty() ? CleParDefaut() : Cle;
  if (cle.size() < 4) throw EConvertError(std::string("Codage : la clé doit compter au moins 4 caractères"_ansi));
  const double maintenant = DateTime::Now();
  // The key of the code changes with every call: the low-order bytes of the moment, scrambled.
  uint8_t octets[8];
  std::memcpy(octets, &maintenant, 8);  // little-endian on every target of this system
  std::string p = cle;
  for (int i = 0; i < 4; ++i) p[static_cast<std::size_t>(i)] = static_cast<char>(octets[i]);
  std::string s;
  TEncryption::Crypter(p + cle, 4, s);
  s = s.substr(4, 4);
  // The text, its end, then filler digits: the day number written six times.
  const std::string jour = Format("%.0f", {std::trunc(maintenant)});
  s += Clair;
  s += '\0';
  for (int i = 0; i < 6; ++i) s += jour;
  s.resize(static_cast<std::size_t>(TailleCode() + 4));
  TEncryption::Crypter(s, 4, Code);
}

void TCustomCodage::Class::Decoder(const std::string& Code, std::string& Clair) const {
  Clair.clear();
  if (Code.empty()) return;
  std::string t;
  TEncryption::Crypter(Code, 4, t);
  if (t.size() <= 4) return;
  const std::size_t fin = t.find('\0', 4);
  Clair = t.substr(4, fin == std::string::npos ? std::string::npos : fin - 4);
}

TCustomCodage::TCustomCodage(const std::string& Clair) : TCustomCodage(StaticClass(), Clair) {}

TCustomCodage::TCustomCodage(const Class* Classe, const std::string& Clair) { Classe->Coder(Clair, "", code_); }

std::string TCustomCodage::GetTexte() const {
  std::string clair;
  Classe()->Decoder(code_, clair);
  return clair;
}

void TCustomCodage::SetCode(const std::string& Code) {
  if (Code != code_) code_ = Code;
}

void TCustomCodage::SetCodeBrut(const void* Zone, int32_t n) {
  const auto taille = static_cast<std::size_t>(Classe()->TailleCode() + 4);
  std::string code(taille, '\0');
  if (Zone != nullptr && n >= 0)
    std::memcpy(code.data(), Zone, std::min(taille, static_cast<std::size_t>(n) + 1));
  code_ = code;
}

void TCustomCodage::CodeDepuisTampon(const void* Zone, int32_t n, std::string& Code) {
  Code.clear();
  if (Zone == nullptr || n < 0) return;
  Code.assign(static_cast<const char*>(Zone), static_cast<std::size_t>(n) + 1);
  Code += '\0';
}

int32_t TCustomCodage::Comparer(TObject* Autre, int32_t Mode) {
  auto* autre = ObjectAs<TCustomCodage>(Autre);
  if (autre == nullptr) return TCustomComparable::Comparer(this, Autre, Mode);
  return Collation::Compare(GetTexte(), autre->GetTexte(), false, Collation::SortMode::kWord);
}

void TCustomCodage::Ecrire(IFormateur* Formateur, TClasseFormat Contexte) {
  TCustomSerializable::Ecrire(Formateur, Contexte);
  Formateur->EcrireCardinal(static_cast<uint32_t>(code_.size()));
  if (!code_.empty()) Formateur->EcrireTampon(code_.data(), static_cast<int32_t>(code_.size()));
}

void TCustomCodage::Lire(IFormateur* Formateur, TClasseFormat Contexte) {
  TCustomSerializable::Lire(Formateur, Contexte);
  uint32_t longueur = 0;
  if (Formateur->LireCardinal(longueur) != 4) throw EReadError("Erreur de lecture du flux");
  if (longueur == 0) {
    code_.clear();
    return;
  }
  // The length comes from the stream: it is bounded by what the stream still holds.
  auto* formateur = dynamic_cast<TCustomFormatter*>(Formateur);
  if (longueur > 0x7FFFFFFFu || (formateur && formateur->Flux() && longueur > formateur->Flux()->Remaining()))
    throw EReadError("Erreur de lecture du flux");
  std::string code(longueur, '\0');
  if (Formateur->LireTampon(code.data(), static_cast<int32_t>(longueur)) != static_cast<int32_t>(longueur))
    throw EReadError("Erreur de lecture du flux");
  code_ = code;
}

void* TCustomCodage::GetInterfaceEntry(const TGUID& iid) {
  if (iid == IComparable::IID) return static_cast<IComparable*>(this);
  return TCustomSerializable::GetInterfaceEntry(iid);
}

void Codage::Initialiser() {
  TracerModule("Initialisation du module Codage.");
  TGestionnaireNomsDeClasse::Enregistrer(TCustomCodage::StaticClass());
}
