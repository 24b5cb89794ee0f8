#include "objectdb/arrays/TableauIndices.h"

#include <algorithm>
#include <limits>

#include "core/arrays/TemplateArray.h"
#include "core/objects/GestionnaireNomsDeClasse.h"

NV_DEFINE_CLASS(TTableauIndices, TCustomTracable)

namespace {
constexpr int32_t kPageLecture = 16;  // the page of an array built blank, before its first read
constexpr int64_t kCapaciteMaximale = std::numeric_limits<int32_t>::max();
}  // namespace

TTableauIndices::TTableauIndices(int32_t TaillePage) : taillePage_(std::max<int32_t>(TaillePage, 1)) {}

void* TTableauIndices::GetInterfaceEntry(const TGUID& iid) {
  if (iid == ISerializable::IID) {
    TGestionnaireNomsDeClasse::Enregistrer(ClassType());
    return static_cast<ISerializable*>(this);
  }
  return TCustomTracable::GetInterfaceEntry(iid);
}

void TTableauIndices::Reallouer(int64_t Capacite) {
  elements_.resize(static_cast<std::size_t>(Capacite));
  elements_.shrink_to_fit();
}

void TTableauIndices::Remplacer(std::vector<uint32_t> Valeurs) {
  const int64_t nombre = static_cast<int64_t>(Valeurs.size());
  const int64_t capacite = (nombre + taillePage_ - 1) / taillePage_ * taillePage_;
  elements_ = std::move(Valeurs);
  Reallouer(capacite);
  nombreElements_ = static_cast<int32_t>(nombre);
}

void TTableauIndices::Vider() {
  nombreElements_ = 0;
  Reallouer(0);
}

// Binary search over positions 1..n: lo and hi enclose the place of Valeur; hi ends on the element
// equal to it, on the first greater one, or on n + 1.
int32_t TTableauIndices::Chercher(uint32_t Valeur, bool& Present) const {
  Present = false;
  if (nombreElements_ == 0) return 1;
  int32_t lo = 0, hi = nombreElements_ + 1;
  while (hi > lo + 1) {
    const int32_t mid = lo + (hi - lo) / 2;
    const uint32_t e = elements_[static_cast<std::size_t>(mid - 1)];
    if (Valeur <= e) hi = mid;
    if (e <= Valeur) lo = mid;
  }
  Present = hi <= nombreElements_ && elements_[static_cast<std::size_t>(hi - 1)] == Valeur;
  return hi;
}

bool TTableauIndices::Ajouter(uint32_t Valeur) {
  bool present;
  const int32_t position = Chercher(Valeur, present);
  if (present) return false;
  if (nombreElements_ == NombreMaxElements()) {
    const int64_t capacite = static_cast<int64_t>(NombreMaxElements()) + taillePage_;
    if (capacite > kCapaciteMaximale) return false;
    Reallouer(capacite);
  }
  auto debut = elements_.begin();
  std::move_backward(debut + (position - 1), debut + nombreElements_, debut + nombreElements_ + 1);
  elements_[static_cast<std::size_t>(position - 1)] = Valeur;
  ++nombreElements_;
  return true;
}

bool TTableauIndices::Supprimer(uint32_t Valeur) {
  bool present;
  const int32_t position = Chercher(Valeur, present);
  return present && SupprimerIndice(position);
}

bool TTableauIndices::Inserer(uint32_t Valeur, int32_t Position) {
  if (Position < 1) return false;
  if (Position > NombreMaxElements() || NombreMaxElements() == nombreElements_) {
    // Whole pages, at least one, until the position fits.
    const int64_t actuelle = NombreMaxElements();
    const int64_t pages = std::max<int64_t>(1, (Position - actuelle + taillePage_ - 1) / taillePage_);
    const int64_t capacite = actuelle + pages * taillePage_;
    if (capacite > kCapaciteMaximale) return false;
    Reallouer(capacite);
  }
  auto debut = elements_.begin();
  if (Position > nombreElements_) {
    // The gap up to the position is filled with zeros.
    std::fill(debut + nombreElements_, debut + (Position - 1), 0u);
    nombreElements_ = Position;
  } else {
    std::move_backward(debut + (Position - 1), debut + nombreElements_, debut + nombreElements_ + 1);
    ++nombreElements_;
  }
  elements_[static_cast<std::size_t>(Position - 1)] = Valeur;
  return true;
}

bool TTableauIndices::SupprimerIndice(int32_t Position) {
  if (Position < 1 || Position > nombreElements_) return false;
  auto debut = elements_.begin();
  std::move(debut + Position, debut + nombreElements_, debut + (Position - 1));
  elements_[static_cast<std::size_t>(nombreElements_ - 1)] = 0;
  --nombreElements_;
  // Exactly one whole page free: give it back.
  if (nombreElements_ == NombreMaxElements() - taillePage_) Reallouer(nombreElements_);
  return true;
}

void TTableauIndices::Assigner(const TTableauIndices& Source) {
  if (&Source == this) return;
  elements_ = Source.elements_;
  nombreElements_ = Source.nombreElements_;
}

uint32_t TTableauIndices::Elements(int32_t Position) const {
  if (Position < 1 || Position > nombreElements_) return 0;
  return elements_[static_cast<std::size_t>(Position - 1)];
}

void TTableauIndices::Ecrire(IFormateur* Formateur, TClasseFormat) {
  Formateur->EcrireEntier(nombreElements_);
  std::vector<uint8_t> octets(static_cast<std::size_t>(nombreElements_) * 4);
  for (std::size_t i = 0; i < static_cast<std::size_t>(nombreElements_); ++i)
    for (std::size_t k = 0; k < 4; ++k) octets[4 * i + k] = static_cast<uint8_t>(elements_[i] >> (8 * k));
  Formateur->EcrireTampon(octets.data(), static_cast<int32_t>(octets.size()));
}

void TTableauIndices::Lire(IFormateur* Formateur, TClasseFormat) {
  const int32_t nombre = TemplateArray::LireEntier(Formateur);
  // Four bytes per value must still be in the stream before anything is allocated.
  if (nombre < 0 || static_cast<int64_t>(nombre) * 4 > TemplateArray::OctetsRestants(Formateur))
    TemplateArray::ErreurLecture();
  std::vector<uint8_t> octets(static_cast<std::size_t>(nombre) * 4);
  if (Formateur->LireTampon(octets.data(), static_cast<int32_t>(octets.size())) != static_cast<int32_t>(octets.size()))
    TemplateArray::ErreurLecture();
  if (taillePage_ == 0) {
    taillePage_ = kPageLecture;
    SetTraceActive(true);
  }
  // The capacity is the count rounded up to whole pages.
  const int64_t capacite = (static_cast<int64_t>(nombre) + taillePage_ - 1) / taillePage_ * taillePage_;
  if (capacite > kCapaciteMaximale) TemplateArray::ErreurLecture();
  std::vector<uint32_t> valeurs(static_cast<std::size_t>(capacite));
  for (std::size_t i = 0; i < static_cast<std::size_t>(nombre); ++i)
    for (std::size_t k = 0; k < 4; ++k) valeurs[i] |= static_cast<uint32_t>(octets[4 * i + k]) << (8 * k);
  elements_ = std::move(valeurs);
  nombreElements_ = nombre;
}

void TTableauIndices::TracerEntete(TCustomTraceur* Traceur, std::string& Texte) {
  Texte.clear();
  if (!GetTraceActive()) return;
  if (Traceur == nullptr) Traceur = Trace::TraceurParDefaut();
  std::string ligne;
  Traceur->TracerPropriete("TaillePage", std::to_string(taillePage_), ligne);
  Texte += ligne;
  Traceur->TracerPropriete("NombreMaxElements", std::to_string(NombreMaxElements()), ligne);
  Texte += ligne;
  Traceur->TracerPropriete("NombreElements", std::to_string(nombreElements_), ligne);
  Texte += ligne;
}

void TTableauIndices::TracerContenu(bool Detail, TCustomTraceur* Traceur, std::string& Texte) {
  Texte.clear();
  if (!GetTraceActive()) return;
  if (Traceur == nullptr) Traceur = Trace::TraceurParDefaut();
  std::string ligne;
  if (Detail) {
    for (int32_t p = 1; p <= nombreElements_; ++p) {
      std::string bloc;
      TemplateArray::TracerValeurElement(Traceur, "CARDINAL", std::to_string(Elements(p)), bloc);
      Texte += bloc;
    }
    return;
  }
  Texte = "Elements = [";
  for (int32_t p = 1; p <= nombreElements_; ++p) {
    if (p > 1) Texte += ", ";
    Texte += std::to_string(Elements(p));
  }
  Texte += "]";
  Traceur->Tracer(Texte, ligne);
}

void TableauIndices::Initialiser() { TGestionnaireNomsDeClasse::Enregistrer(TTableauIndices::StaticClass()); }
