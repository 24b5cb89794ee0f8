#include "streams/Proprietes.h"

#include <algorithm>
#include <cstring>

#include "core/values/Ansi1252.h"
#include "core/values/Collation.h"
#include "core/values/Format.h"

namespace {

// The texts of the errors. The path error raised while storing is spelt without accents, the one
// raised while looking up or removing with them: both are kept as the system has always shown them.
constexpr std::string_view kSeparateurMalPlace = "Séparateur \"%s\" mal placé dans \"%s\""_ansi;
constexpr std::string_view kIndexHorsLimites = "Index propriété hors limites (%d)"_ansi;
constexpr std::string_view kProprieteNonTrouvee = "Propriété non trouvée : %s"_ansi;
constexpr std::string_view kSousProprieteNonTrouvee = "Sous-propriété non trouvée : %s"_ansi;
constexpr std::string_view kPathInvalideStockage = "Path invalide : sous-propriete de type %d et non %d (tvProprietes)";
constexpr std::string_view kPathInvalide = "Path invalide : sous-propriété de type %d et non %d (tvProprietes)"_ansi;
constexpr std::string_view kTypeMismatch = "Type mismatch : %d attendu %d trouvé"_ansi;
constexpr std::string_view kDoublon = "Propriété en double : %s"_ansi;
constexpr std::string_view kTailleBlobNegative = "Taille de bloc négative : %d"_ansi;
constexpr std::string_view kValeurAbsente = "Valeur de propriété absente : %s"_ansi;

constexpr char kSeparateur = '.';
constexpr int32_t kTailleEnsemble = 32;

int32_t Numero(TGenreValeurProp Genre) { return static_cast<int32_t>(Genre); }

[[noreturn]] void PathInvalide(std::string_view Texte, TGenreValeurProp Trouve) {
  throw EExceptionProprietePathInvalide(Format(Texte, {Numero(Trouve), Numero(tvProprietes)}));
}

bool AvantNom(std::string_view a, std::string_view b) { return Collation::Compare(a, b, true) < 0; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Value objects

TProprietes::TValeurProp::~TValeurProp() = default;

void TProprietes::TValeurProp::Relier() {
  valeur_.Chaine = chaine_;
  valeur_.Blob = blob_;
  valeur_.Proprietes = proprietes_.get();
}

std::unique_ptr<TProprietes::TValeurProp> TProprietes::TValeurProp::Create(const TypeValeurProp& Valeur) {
  std::unique_ptr<TValeurProp> v(new TValeurProp);
  v->valeur_ = Valeur;
  v->valeur_.Chaine = {};
  v->valeur_.Blob = {};
  v->valeur_.Proprietes = nullptr;
  switch (Valeur.Genre) {
    case tvChaine: v->chaine_.assign(Valeur.Chaine); break;
    case tvBlob: v->blob_.assign(Valeur.Blob.begin(), Valeur.Blob.end()); break;
    case tvProprietes:
      v->proprietes_ = Valeur.Proprietes != nullptr ? Copier(*Valeur.Proprietes) : std::make_unique<TProprietes>();
      break;
    default: break;
  }
  v->Relier();
  return v;
}

std::unique_ptr<TProprietes::TValeurProp> TProprietes::TValeurProp::CreateEnsemble(const void* Octets, int32_t Nombre) {
  std::unique_ptr<TValeurProp> v(new TValeurProp);
  v->valeur_.Genre = tvEnsemble;
  // The set is 32 bytes whatever the count: more is cut, a negative count copies nothing.
  const auto n = static_cast<std::size_t>(std::clamp<int32_t>(Nombre, 0, kTailleEnsemble));
  if (n > 0) std::memcpy(v->valeur_.Ensemble.data(), Octets, n);
  v->Relier();
  return v;
}

std::unique_ptr<TProprietes::TValeurProp> TProprietes::TValeurProp::CreateBlob(const void* Octets, int32_t Nombre) {
  if (Nombre < 0) throw EExceptionPropriete(Format(kTailleBlobNegative, {Nombre}));
  const auto* debut = static_cast<const uint8_t*>(Octets);
  return CreateBlob(std::vector<uint8_t>(debut, debut + Nombre));
}

std::unique_ptr<TProprietes::TValeurProp> TProprietes::TValeurProp::CreateBlob(std::vector<uint8_t> Octets) {
  std::unique_ptr<TValeurProp> v(new TValeurProp);
  v->valeur_.Genre = tvBlob;
  v->blob_ = std::move(Octets);
  v->Relier();
  return v;
}

std::unique_ptr<TProprietes::TValeurProp> TProprietes::TValeurProp::CreateChaine(std::string Texte) {
  std::unique_ptr<TValeurProp> v(new TValeurProp);
  v->valeur_.Genre = tvChaine;
  v->chaine_ = std::move(Texte);
  v->Relier();
  return v;
}

std::unique_ptr<TProprietes::TValeurProp> TProprietes::TValeurProp::CreateProprietes(std::unique_ptr<TProprietes> Arbre) {
  std::unique_ptr<TValeurProp> v(new TValeurProp);
  v->valeur_.Genre = tvProprietes;
  v->proprietes_ = Arbre != nullptr ? std::move(Arbre) : std::make_unique<TProprietes>();
  v->Relier();
  return v;
}

// ---------------------------------------------------------------------------------------------
// The tree

TProprietes::TProprietes() = default;
TProprietes::~TProprietes() = default;

void TProprietes::DecouperChemin(std::string_view Chemin, std::string_view& Premier, std::string_view& Reste) {
  const std::size_t p = Chemin.find(kSeparateur);
  if (p == 0) throw EExceptionProprietePathInvalide(Format(kSeparateurMalPlace, {std::string(1, kSeparateur), Chemin}));
  if (p == std::string_view::npos) {
    Premier = Chemin;
    Reste = {};
  } else {
    Premier = Chemin.substr(0, p);
    Reste = Chemin.substr(p + 1);
  }
}

void TProprietes::Vider() { entrees_.clear(); }

int32_t TProprietes::Nombre() const { return static_cast<int32_t>(entrees_.size()); }

void TProprietes::Element(int32_t Position, std::string_view& Nom, TypeValeurProp& Valeur) const {
  if (Position < 0 || Position >= Nombre()) throw EExceptionProprieteInexistante(Format(kIndexHorsLimites, {Position}));
  const TEntree& e = entrees_[static_cast<std::size_t>(Position)];
  Nom = e.Nom;
  Valeur = e.Valeur->Valeur();
}

std::size_t TProprietes::Position(std::string_view Nom, bool& Trouve) const {
  auto it = std::lower_bound(entrees_.begin(), entrees_.end(), Nom,
                             [](const TEntree& e, std::string_view n) { return AvantNom(e.Nom, n); });
  Trouve = it != entrees_.end() && !AvantNom(Nom, it->Nom);
  return static_cast<std::size_t>(it - entrees_.begin());
}

const TProprietes::TEntree* TProprietes::Entree(std::string_view Nom) const {
  bool trouve = false;
  const std::size_t p = Position(Nom, trouve);
  return trouve ? &entrees_[p] : nullptr;
}

const TProprietes& TProprietes::SousArbre(const TValeurProp& Valeur) {
  if (Valeur.Valeur().Genre != tvProprietes) PathInvalide(kPathInvalide, Valeur.Valeur().Genre);
  return *Valeur.proprietes_;
}

void TProprietes::AjouterProp(std::string_view Chemin, std::unique_ptr<TValeurProp> Valeur, bool Remplacer) {
  std::string_view premier, reste;
  DecouperChemin(Chemin, premier, reste);
  if (Valeur == nullptr) throw EExceptionPropriete(Format(kValeurAbsente, {Chemin}));
  bool trouve = false;
  const std::size_t p = Position(premier, trouve);
  if (!reste.empty()) {
    if (!trouve) throw EExceptionProprieteInexistante(Format(kSousProprieteNonTrouvee, {premier}));
    TValeurProp& v = *entrees_[p].Valeur;
    if (v.Valeur().Genre != tvProprietes) PathInvalide(kPathInvalideStockage, v.Valeur().Genre);
    v.proprietes_->AjouterProp(reste, std::move(Valeur), Remplacer);
    return;
  }
  if (trouve) {
    if (!Remplacer) throw EExceptionProprieteDoublon(Format(kDoublon, {premier}));
    entrees_[p].Valeur = std::move(Valeur);
    return;
  }
  entrees_.insert(entrees_.begin() + static_cast<std::ptrdiff_t>(p), TEntree{std::string(premier), std::move(Valeur)});
}

void TProprietes::Ajouter(std::string_view Chemin, const TypeValeurProp& Valeur) {
  AjouterProp(Chemin, TValeurProp::Create(Valeur), false);
}

bool TProprietes::Chercher(std::string_view Chemin, TypeValeurProp& Valeur) const {
  std::string_view premier, reste;
  DecouperChemin(Chemin, premier, reste);
  const TEntree* e = Entree(premier);
  if (e == nullptr) return false;
  if (!reste.empty()) return SousArbre(*e->Valeur).Chercher(reste, Valeur);
  Valeur = e->Valeur->Valeur();
  return true;
}

TypeValeurProp TProprietes::Lire(std::string_view Chemin) const {
  TypeValeurProp v;
  if (!Chercher(Chemin, v)) throw EExceptionProprieteInexistante(Format(kProprieteNonTrouvee, {Chemin}));
  return v;
}

bool TProprietes::Existe(std::string_view Chemin) const {
  std::string_view premier, reste;
  DecouperChemin(Chemin, premier, reste);
  const TEntree* e = Entree(premier);
  if (e == nullptr) return false;
  if (reste.empty()) return true;
  if (e->Valeur->Valeur().Genre != tvProprietes) return false;
  return e->Valeur->proprietes_->Existe(reste);
}

std::unique_ptr<TProprietes> TProprietes::Extraire(std::string_view Chemin) {
  std::string_view premier, reste;
  DecouperChemin(Chemin, premier, reste);
  bool trouve = false;
  const std::size_t p = Position(premier, trouve);
  if (!trouve) return nullptr;
  // Only a sub-tree can be handed over or gone through: any other value stays where it is.
  TValeurProp& v = *entrees_[p].Valeur;
  if (v.Valeur().Genre != tvProprietes) PathInvalide(kPathInvalide, v.Valeur().Genre);
  if (!reste.empty()) return v.proprietes_->Extraire(reste);
  std::unique_ptr<TProprietes> arbre = std::move(v.proprietes_);
  entrees_.erase(entrees_.begin() + static_cast<std::ptrdiff_t>(p));
  return arbre;
}

std::unique_ptr<TProprietes> TProprietes::Copier(const TProprietes& Source) {
  auto copie = std::make_unique<TProprietes>();
  copie->entrees_.reserve(Source.entrees_.size());
  for (const TEntree& e : Source.entrees_)
    copie->entrees_.push_back(TEntree{e.Nom, TValeurProp::Create(e.Valeur->Valeur())});
  return copie;
}

// ---------------------------------------------------------------------------------------------
// Value records

TypeValeurProp TProprietes::ValeurEntier(int32_t Valeur) {
  TypeValeurProp v;
  v.Genre = tvEntier;
  v.Entier = Valeur;
  return v;
}

TypeValeurProp TProprietes::ValeurCardinal(uint32_t Valeur) {
  TypeValeurProp v;
  v.Genre = tvCardinal;
  v.Cardinal = Valeur;
  return v;
}

TypeValeurProp TProprietes::ValeurHuitOctets(const std::array<uint8_t, 8>& Valeur) {
  TypeValeurProp v;
  v.Genre = tvHuitOctets;
  v.HuitOctets = Valeur;
  return v;
}

TypeValeurProp TProprietes::ValeurEtendu(const std::array<uint8_t, 10>& Valeur) {
  TypeValeurProp v;
  v.Genre = tvEtendu;
  v.Etendu = Valeur;
  return v;
}

TypeValeurProp TProprietes::ValeurChaine(std::string_view Valeur) {
  TypeValeurProp v;
  v.Genre = tvChaine;
  v.Chaine = Valeur;
  return v;
}

TypeValeurProp TProprietes::ValeurBooleen(uint8_t Valeur) {
  TypeValeurProp v;
  v.Genre = tvBooleen;
  v.Booleen = Valeur;
  return v;
}

TypeValeurProp TProprietes::ValeurProprietes(const TProprietes* Valeur) {
  TypeValeurProp v;
  v.Genre = tvProprietes;
  v.Proprietes = Valeur;
  return v;
}

bool TProprietes::ValeurEnBooleen(const TypeValeurProp& Valeur) {
  VerifierType(Valeur.Genre, tvBooleen);
  return Valeur.Booleen != 0;
}

void TProprietes::VerifierType(TGenreValeurProp Trouve, TGenreValeurProp Attendu) {
  if (Trouve != Attendu) throw EExceptionProprieteTypeMismatch(Format(kTypeMismatch, {Numero(Attendu), Numero(Trouve)}));
}
