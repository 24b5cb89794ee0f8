#include "objectdb/Traduction.h"

#include <charconv>
#include <memory>

#include "core/objects/ClasseFinalisable.h"
#include "core/values/ChaineRessource.h"
#include "core/values/ChaineUnicode.h"
#include "core/values/RetourChariot.h"
#include "objectdb/columns/ChampCardinal.h"
#include "objectdb/columns/ChampInteger.h"
#include "objectdb/columns/ChampObject.h"
#include "objectdb/columns/ChampString.h"
#include "objectdb/indexes/Index.h"
#include "objectdb/localisation/FragmentHtml.h"
#include "objectdb/localisation/SectionCritiqueGlobale.h"

const TInfoPropriete TTraduction::kProprietes[] = {
    {"Cle", "String", tkLString, nullptr, kCle, true},
    {"IdRessource", "Integer", tkInteger, nullptr, kIdRessource, true},
    {"Module", "Cardinal", tkInteger, nullptr, kModule, true},
    {"ChaineUnicode", "TChaineUnicode", tkClass, &TChaineUnicode::StaticClass, kChaineUnicode, true},
    {"FragmentHtml", "TFragmentHtml", tkClass, &TFragmentHtml::StaticClass, kFragmentHtml, true},
};
NV_DEFINE_PUBLISHED_CLASS(TTraduction, TArticle, kProprietes)
NV_DEFINE_CLASS(TTableTraductions, TCustomTable)
NV_DEFINE_CLASS(TDictionnaire, TObjetInterfacable)

namespace {

TypeSectionCritiqueGlobale gSection;
TDictionnaire* gDictionnaire = nullptr;
int32_t gNombreUtilisateurs = 0;
bool gLiberationDemandee = false;
bool gLangueChoisie = false;
// A resource string asked for while a resource string is being translated takes its built-in text.
thread_local bool gTraductionEnCours = false;

TypeEnsembleOctets Ensemble(std::initializer_list<int32_t> colonnes) {
  TypeEnsembleOctets e{};
  for (int32_t c : colonnes) e[static_cast<std::size_t>(c / 8)] |= static_cast<uint8_t>(1u << (c % 8));
  return e;
}
const TypeEnsembleOctets kColonnesRessource = Ensemble({TTraduction::kIdRessource, TTraduction::kModule});
const TypeEnsembleOctets kToutesColonnes = Ensemble({0, 1, 2, 3, 4});

template <class TChamp>
TChamp* Colonne(const TCustomTable* table, int32_t numero) {
  return static_cast<TChamp*>(table->GetChamp(numero));
}

// Every occurrence of `de` replaced by `par`, in one pass over the whole text.
std::string Remplacer(std::string s, std::string_view de, std::string_view par) {
  std::size_t p = 0;
  while ((p = s.find(de, p)) != std::string::npos) {
    s.replace(p, de.size(), par);
    p += par.size();
  }
  return s;
}

std::string DecoderTexte(std::string s) {
  s = Remplacer(std::move(s), "&amp;", "&");
  s = Remplacer(std::move(s), "&lt;", "<");
  return Remplacer(std::move(s), "&gt;", ">");
}

// Holds the shared dictionary for a scope.
class TDetenteur {
 public:
  TDetenteur() : d_(TDictionnaire::Acquerir()) {}
  ~TDetenteur() { TDictionnaire::Liberer(); }
  TDetenteur(const TDetenteur&) = delete;
  TDetenteur& operator=(const TDetenteur&) = delete;
  TDictionnaire* operator->() const { return d_; }
  explicit operator bool() const { return d_ != nullptr; }

 private:
  TDictionnaire* d_;
};

}  // namespace

// ---------------------------------------------------------------------------------------------------
// TTableTraductions

TTableTraductions::TTableTraductions() : TCustomTable(TTraduction::StaticClass(), nullptr, 1024) {
  IndexParCle = new TIndex("IDX_TraductionParCle", this, std::vector<TypeDefinitionCle>{{TTraduction::kCle, false, 0}},
                           ruiSansRegle);
  IndexParIdRessource =
      new TIndex("IDX_TraductionParIdRessource", this,
                 std::vector<TypeDefinitionCle>{{TTraduction::kIdRessource, false, 0}, {TTraduction::kModule, false, 0}},
                 ruiCleUniqueSiNonNulle);
  cles_ = new TCustomTable(TTraduction::StaticClass(), nullptr, 1, true);
  int32_t ligne = 0;
  (void)cles_->AllouerLigne(ligne);
}

TTableTraductions::~TTableTraductions() {
  // Rows in use and freed rows together are every row ever allocated.
  const int32_t lignes = NombreArticles + (LignesLibres != nullptr ? LignesLibres->GetNombreElements() : 0);
  for (int32_t l = 0; PremierChamp != nullptr && l < lignes; ++l)
    if (LigneExiste(l)) {
      delete Colonne<TChampObject>(this, TTraduction::kChaineUnicode)->GetValeur(l);
      delete Colonne<TChampObject>(this, TTraduction::kFragmentHtml)->GetValeur(l);
    }
  delete IndexParCle;
  delete IndexParIdRessource;
  delete cles_;
}

bool TTableTraductions::Creer(const std::string& Cle, int32_t IdRessource, uint32_t Module, TChaineUnicode* Chaine) {
  int32_t ligne = 0;
  if (!AllouerLigne(ligne)) {
    delete Chaine;
    return false;
  }
  Colonne<TChampString>(this, TTraduction::kCle)->SetValeur(ligne, Cle);
  Colonne<TChampInteger>(this, TTraduction::kIdRessource)->SetValeur(ligne, IdRessource);
  Colonne<TChampCardinal>(this, TTraduction::kModule)->SetValeur(ligne, Module);
  Colonne<TChampObject>(this, TTraduction::kChaineUnicode)->SetValeur(ligne, Chaine);
  const auto l = static_cast<uint32_t>(ligne);
  if (!IndexParIdRessource->InsererLigne(l, kToutesColonnes, true, false)) {
    DerniereErreur = kDoublon;
    (void)LibererLigne(ligne + 1);
    delete Chaine;
    return false;
  }
  (void)IndexParCle->InsererLigne(l, kToutesColonnes, true, false);
  return true;
}

bool TTableTraductions::ModifierRessource(uint32_t Ligne, int32_t IdRessource, uint32_t Module) {
  auto* ids = Colonne<TChampInteger>(this, TTraduction::kIdRessource);
  auto* modules = Colonne<TChampCardinal>(this, TTraduction::kModule);
  const auto ligne = static_cast<int32_t>(Ligne);
  const int32_t ancienId = ids->GetValeur(ligne);
  const uint32_t ancienModule = modules->GetValeur(ligne);
  IndexParIdRessource->RetirerLigne(Ligne, kColonnesRessource, false);
  ids->SetValeur(ligne, IdRessource);
  modules->SetValeur(ligne, Module);
  if (IndexParIdRessource->InsererLigne(Ligne, kColonnesRessource, false, false)) return true;
  // Refused: the row goes back to its values and its place.
  DerniereErreur = kDoublon;
  ids->SetValeur(ligne, ancienId);
  modules->SetValeur(ligne, ancienModule);
  (void)IndexParIdRessource->InsererLigne(Ligne, kColonnesRessource, false, false);
  return false;
}

void TTableTraductions::Supprimer(uint32_t Ligne) {
  if (!LigneExiste(static_cast<int32_t>(Ligne))) return;
  IndexParCle->RetirerLigne(Ligne, kToutesColonnes, true);
  IndexParIdRessource->RetirerLigne(Ligne, kToutesColonnes, true);
  delete Chaine(Ligne);
  delete Colonne<TChampObject>(this, TTraduction::kFragmentHtml)->GetValeur(static_cast<int32_t>(Ligne));
  (void)LibererLigne(static_cast<int32_t>(Ligne) + 1);
}

uint32_t TTableTraductions::Chercher(TIndex* Index) {
  TArticle cle;
  cle.Table = cles_;
  cle.IndiceArticle = 0;
  int32_t position = 0;
  bool doublon = false;
  if (Index->ChercherArticle(&cle, position, doublon) != kIndexTrouve) return kAucuneLigne;
  return Index->LigneDePosition(position);
}

uint32_t TTableTraductions::ChercherParCle(std::string_view Cle) {
  Colonne<TChampString>(cles_, TTraduction::kCle)->SetValeur(0, std::string(Cle));
  return Chercher(IndexParCle);
}

uint32_t TTableTraductions::ChercherParRessource(int32_t IdRessource, uint32_t Module) {
  Colonne<TChampInteger>(cles_, TTraduction::kIdRessource)->SetValeur(0, IdRessource);
  Colonne<TChampCardinal>(cles_, TTraduction::kModule)->SetValeur(0, Module);
  return Chercher(IndexParIdRessource);
}

TChaineUnicode* TTableTraductions::Chaine(uint32_t Ligne) const {
  if (!LigneExiste(static_cast<int32_t>(Ligne))) return nullptr;
  // The column holds objects of any class: only a text object is taken as one.
  return dynamic_cast<TChaineUnicode*>(Colonne<TChampObject>(this, TTraduction::kChaineUnicode)->GetValeur(static_cast<int32_t>(Ligne)));
}

std::string TTableTraductions::Cle(uint32_t Ligne) const {
  if (!LigneExiste(static_cast<int32_t>(Ligne))) return std::string();
  return Colonne<TChampString>(this, TTraduction::kCle)->GetValeur(static_cast<int32_t>(Ligne));
}

// ---------------------------------------------------------------------------------------------------
// Loading

void TDictionnaire::ChargerChaines(TypeHandleModule Module, TTableTraductions* Table) {
  std::string s;
  if (!ModuleRessources::LireRessource(Module, "CHAINES", s)) return;
  constexpr std::string_view kDebut = "cle=\"", kFinCle = "\">", kFin = "</chaine>";
  std::size_t p = 0;
  // An entry without the end of its key or its "</chaine>" ends the reading: nothing after it can be
  // told apart from its text.
  for (;;) {
    const std::size_t debut = s.find(kDebut, p);
    if (debut == std::string::npos) break;
    const std::size_t cle = debut + kDebut.size();
    const std::size_t finCle = s.find(kFinCle, cle);
    if (finCle == std::string::npos) break;
    const std::size_t texte = finCle + kFinCle.size();
    const std::size_t fin = s.find(kFin, texte);
    if (fin == std::string::npos) break;
    auto chaine = std::make_unique<TChaineUnicode>();
    chaine->SetUTF8(std::string_view(s).substr(cle, finCle - cle));
    std::string c = DecoderTexte(chaine->GetChaine(ChaineUnicode::CP_WINDOWS_1252));
    c = Remplacer(std::move(c), "&quot;", "\"");
    chaine->SetUTF8(RetourChariot::ConvertirRetoursChariot(DecoderTexte(s.substr(texte, fin - texte)), RC_CRLF));
    (void)Table->Creer(c, 0, 0, chaine.release());
    p = fin + kFin.size();
  }
}

void TDictionnaire::ChargerDRC(TTableTraductions* Table, std::string_view D, TypeHandleModule Module) {
  constexpr std::string_view kDefine = "#define ";
  std::size_t p = 0;            // the next "#define"
  std::size_t tableChaines = 0;  // where the next text of the STRINGTABLE is looked for
  for (;;) {
    const std::size_t define = D.find(kDefine, p);
    if (define == std::string_view::npos) break;
    const std::size_t nom = define + kDefine.size();
    const std::size_t blanc = D.find(' ', nom);
    if (blanc == std::string_view::npos) break;
    p = blanc + 1;
    const std::string_view chiffres = D.substr(blanc + 1, 5);
    int32_t id = 0;
    const auto [fin, erreur] = std::from_chars(chiffres.data(), chiffres.data() + chiffres.size(), id);
    // An id that is not five digits names no resource string: the line is left out.
    if (erreur != std::errc() || fin != chiffres.data() + chiffres.size() || chiffres.size() != 5) continue;
    const std::string n(D.substr(nom, blanc - nom));
    if (const uint32_t ligne = Table->ChercherParCle(n); ligne != kAucuneLigne) {
      (void)Table->ModifierRessource(ligne, id, Module);
      continue;
    }
    // The text: TAB, the name, a comma, a TAB and the quoted text with backslash escapes.
    const std::string marque = "\t" + n + ",\t\"";
    const std::size_t m = D.find(marque, tableChaines);
    if (m == std::string_view::npos) continue;
    std::string texte;
    std::size_t i = m + marque.size();
    while (i < D.size() && D[i] != '"') {
      if (D[i] == '\\' && i + 1 < D.size()) {
        ++i;
        texte += D[i] == 'r' ? '\r' : D[i] == 'n' ? '\n' : D[i];
      } else {
        texte += D[i];
      }
      ++i;
    }
    tableChaines = i < D.size() ? i + 1 : i;
    auto chaine = std::make_unique<TChaineUnicode>();
    chaine->SetChaine(ChaineUnicode::CP_ACP, RetourChariot::ConvertirRetoursChariot(texte, RC_CRLF));
    (void)Table->Creer(n, id, Module, chaine.release());
  }
}

void TDictionnaire::ChargerDRCDesModules(TTableTraductions* Table) {
  // The program's map is its own resource on this platform (no map file beside it).
  for (TypeHandleModule m : ModuleRessources::ModulesDuProcessus()) {
    std::string drc;
    if (ModuleRessources::LireRessource(m, "DRC", drc)) ChargerDRC(Table, drc, m);
  }
}

// ---------------------------------------------------------------------------------------------------
// TDictionnaire

TDictionnaire::TDictionnaire() {
  Traductions = new TTableTraductions;
  ModuleCourant = HooksTraduction::ModuleDeRessourcesDuProgramme();
  ChargerChaines(ModuleCourant, Traductions);
  ChargerDRCDesModules(Traductions);
  (void)TChangementDeLangue::AjouterNotifiable(this);
}

TDictionnaire::~TDictionnaire() {
  (void)TChangementDeLangue::RetirerNotifiable(this);
  delete Traductions;
  delete TraductionsEnAttente;
}

void* TDictionnaire::GetInterfaceEntry(const TGUID& iid) {
  if (iid == INotifiableChangementDeLangue::IID) return static_cast<INotifiableChangementDeLangue*>(this);
  return TObjetInterfacable::GetInterfaceEntry(iid);
}

void TDictionnaire::Verrouiller() { EntrerSectionCritiqueGlobale(gSection); }
void TDictionnaire::Deverrouiller() { SortirSectionCritiqueGlobale(gSection); }

TDictionnaire* TDictionnaire::Acquerir() {
  TVerrouGlobal verrou(gSection);
  if (gDictionnaire == nullptr) {
    if (gLiberationDemandee) return nullptr;
    gDictionnaire = new TDictionnaire;
  }
  ++gNombreUtilisateurs;
  return gDictionnaire;
}

void TDictionnaire::Liberer() {
  TVerrouGlobal verrou(gSection);
  if (gNombreUtilisateurs == 0) return;  // an Acquerir that found no dictionary
  if (--gNombreUtilisateurs == 0 && gLiberationDemandee) {
    delete gDictionnaire;
    gDictionnaire = nullptr;
  }
}

void TDictionnaire::DemanderLiberation() {
  TVerrouGlobal verrou(gSection);
  gLiberationDemandee = true;
  if (gNombreUtilisateurs == 0) {
    delete gDictionnaire;
    gDictionnaire = nullptr;
  }
}

TChaineUnicode* TDictionnaire::ChercherCle(std::string_view Cle) {
  TVerrouGlobal verrou(gSection);
  return Traductions->Chaine(Traductions->ChercherParCle(Cle));
}

TChaineUnicode* TDictionnaire::ChercherRessource(int32_t IdRessource, uint32_t Module) {
  TVerrouGlobal verrou(gSection);
  return Traductions->Chaine(Traductions->ChercherParRessource(IdRessource, Module));
}

bool TDictionnaire::PreparerChangement(TypeHandleModule Module) {
  TVerrouGlobal verrou(gSection);
  auto table = std::make_unique<TTableTraductions>();
  ChargerChaines(Module, table.get());
  if (table->NombreArticles == 0) return false;
  ChargerDRCDesModules(table.get());
  delete TraductionsEnAttente;
  TraductionsEnAttente = table.release();
  ModuleEnAttente = Module;
  return true;
}

void TDictionnaire::ValiderChangement(TypeHandleModule) {
  TVerrouGlobal verrou(gSection);
  if (TraductionsEnAttente == nullptr) return;
  delete Traductions;
  Traductions = TraductionsEnAttente;
  ModuleCourant = ModuleEnAttente;
  TraductionsEnAttente = nullptr;
  ModuleEnAttente = ModuleRessources::kAucunModule;
}

void TDictionnaire::Recharger() {
  TVerrouGlobal verrou(gSection);
  auto table = std::make_unique<TTableTraductions>();
  ChargerChaines(ModuleCourant, table.get());
  ChargerDRCDesModules(table.get());
  delete Traductions;
  Traductions = table.release();
}

// ---------------------------------------------------------------------------------------------------
// Routines

namespace Traduction {

void Traduire(std::string_view Cle, int32_t PageDeCode, std::string& Texte) {
  Texte.clear();
  TDetenteur d;
  if (!d) return;
  if (TChaineUnicode* t = d->ChercherCle(Cle)) Texte = t->GetChaine(PageDeCode);
}

void TraduireCle(std::string_view Cle, std::string& Texte) { Traduire(Cle, ChaineUnicode::CP_ACP, Texte); }

std::string Traduire(std::string_view Cle) {
  std::string texte;
  TraduireCle(Cle, texte);
  return texte;
}

void TraduireRessource(int32_t IdRessource, uint32_t Module, int32_t PageDeCode, std::string& Texte) {
  Texte.clear();
  TDetenteur d;
  if (!d) return;
  if (TChaineUnicode* t = d->ChercherRessource(IdRessource, Module)) Texte = t->GetChaine(PageDeCode);
}

void TraduireRessourceUTF8(int32_t IdRessource, uint32_t Module, std::string& Texte) {
  Texte.clear();
  TDetenteur d;
  if (!d) return;
  if (TChaineUnicode* t = d->ChercherRessource(IdRessource, Module)) Texte = t->GetUTF8();
}

void DefinirTexte(std::string_view Cle, std::string_view Texte) {
  TDetenteur d;
  if (!d) return;
  TVerrouGlobal verrou(gSection);
  TTableTraductions* table = d->Traductions;
  uint32_t ligne = table->ChercherParCle(Cle);
  if (Texte.empty()) {
    for (; ligne != kAucuneLigne; ligne = table->ChercherParCle(Cle)) table->Supprimer(ligne);
  } else if (ligne != kAucuneLigne) {
    table->Chaine(ligne)->SetChaine(ChaineUnicode::CP_ACP, Texte);
  } else {
    auto chaine = std::make_unique<TChaineUnicode>();
    chaine->SetChaine(ChaineUnicode::CP_ACP, Texte);
    (void)table->Creer(std::string(Cle), 0, 0, chaine.release());
  }
}

void Vider() {
  TDetenteur d;
  if (d) d->Recharger();
}

namespace {
// Resource strings read through the dictionary: a string asked for while one is being translated
// (a conversion error raised by the lookup itself) takes its built-in text, and so does one that the
// dictionary lacks. The guard is cleared however the lookup ends.
bool TraduireChaineRessource(const TChaineRessource& Chaine, std::string& Texte) {
  if (gTraductionEnCours) return false;
  gTraductionEnCours = true;
  struct Fin {
    ~Fin() { gTraductionEnCours = false; }
  } fin;
  TDetenteur d;
  if (!d) return false;
  TChaineUnicode* t = d->ChercherRessource(Chaine.Id, ModuleRessources::ModuleProgramme());
  if (t == nullptr) return false;
  Texte = t->GetChaine(ChaineUnicode::CP_ACP);
  return true;
}
}  // namespace

void Initialiser() {
  TracerModule("Initialisation du module Traduction.");
  {
    TVerrouGlobal verrou(gSection);
    gLiberationDemandee = false;
  }
  ModuleRessources::DefinirRessourceProgramme("DRC", ChaineRessource::TexteDRC);
  ChaineRessource::DefinirTraducteur(TraduireChaineRessource);
  // The dictionary is built now, and the language chosen with it, rather than at the first text.
  std::string texte;
  TraduireRessourceUTF8(0, ModuleRessources::kAucunModule, texte);
}

void Finaliser() {
  TracerModule("Finalisation du module Traduction.");
  TDictionnaire::DemanderLiberation();
  ChaineRessource::DefinirTraducteur(nullptr);
  ModuleRessources::DefinirRessourceProgramme("DRC", nullptr);
  gLangueChoisie = false;
}

}  // namespace Traduction

TypeHandleModule HooksTraduction::ModuleDeRessourcesDuProgramme() {
  // The language is chosen once, when the program's resources are first needed; a later change
  // goes through the language change itself.
  if (!gLangueChoisie) {
    gLangueChoisie = true;
    (void)TChangementDeLangue::ChangerLangue();
  }
  const TypeHandleModule programme = ModuleRessources::ModuleProgramme();
  const TypeHandleModule ressources = ModuleRessources::ModuleDeRessources(programme);
  return ressources != ModuleRessources::kAucunModule ? ressources : programme;
}
