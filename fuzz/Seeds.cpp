// Writes the seed corpus of every fuzz target with the system's own writers: `fuzz_seeds <folder>`
// makes <folder>/<Target>/<seed> files, each laid out as its target reads its input. fuzz/corpus/ in
// the source tree holds these seeds and what the fuzzers found beyond them.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/arrays/ArrayOfTObject.h"
#include "core/objects/Erreur.h"
#include "core/objects/Modules.h"
#include "core/records/Memoire.h"
#include "core/records/Xi.h"
#include "core/values/Ansi1252.h"
#include "core/values/ChaineUnicode.h"
#include "core/values/Codage.h"
#include "base/SupDemiPension.h"
#include "base/SupFichiers.h"
#include "base/SupLibelleHeure.h"
#include "base/SupOption.h"
#include "base/SupParam.h"
#include "base/fichiers/FichierSup.h"
#include "base/IEStream.h"
#include "net/NetXi.h"
#include "fuzz/BaseFuzz.h"
#include "tests/base/ArticleEssai.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/InstancesTableaux.h"
#include "fuzz/ObjetsReseauFuzz.h"
#include "net/objets/ParametreObjetReseau.h"
#include "net/cipher/CryptageClientServeur.h"
#include "net/ip/IEIPEndPoint.h"
#include "net/services/Version.h"
#include "net/utilisateurs/Login.h"
#include "net/protocol/Trame.h"
#include "net/services/DynaZip.h"
#include "net/transport/MessagesModeExclusif.h"
#include "net/transport/TransfertStream.h"
#include "net/utilisateurs/OrdreUtilisateur.h"
#include "objectdb/bases/Base.h"
#include "objectdb/columns/ChampInteger.h"
#include "objectdb/columns/ChampString.h"
#include "objectdb/durations/FormateurDuree.h"
#include "platform/registry/HiveFile.h"
#include "streams/ParametresBase.h"
#include "streams/BlocParametresBase.h"
#include "streams/Registre.h"
#include "streams/SupArchivageEtSauvegarde.h"
#include "streams/SupToutesTables.h"
#include "streams/VclImportExport.h"
#include "objectdb/parameters/ParametreBooleen.h"
#include "objectdb/parameters/ParametreCardinal.h"
#include "objectdb/parameters/ParametreDouble.h"
#include "objectdb/parameters/ParametreDuree.h"
#include "objectdb/parameters/ParametreInt64.h"
#include "objectdb/parameters/ParametreInteger.h"
#include "objectdb/parameters/ParametreInterface.h"
#include "objectdb/parameters/ParametreObject.h"
#include "objectdb/parameters/ParametreReal.h"
#include "objectdb/parameters/ParametreReferenceArticle.h"
#include "net/protocol/GenresMessages.h"
#include "objectdb/parameters/ParametreSingle.h"
#include "server/AccountBase.h"
#include "objectdb/parameters/ParametreString.h"
#include "objectdb/parameters/ParametreTDateTime.h"
#include "objectdb/parameters/ParametreWideString.h"
#include "objectdb/properties/ProprietePubliee.h"
#include "objectdb/arrays/TableauIndices.h"
#include "core/values/ChaineRessource.h"
#include "platform/ressources/FormatModule.h"
#include "tests/core/diagnostics/ImageDebugEssai.h"

namespace {

using Octets = std::vector<uint8_t>;

std::filesystem::path gDossier;

void Ecrire(const std::string& Cible, const std::string& Nom, const Octets& Contenu) {
  const auto dossier = gDossier / Cible;
  std::filesystem::create_directories(dossier);
  std::ofstream(dossier / Nom, std::ios::binary).write(reinterpret_cast<const char*>(Contenu.data()),
                                                        static_cast<std::streamsize>(Contenu.size()));
}

Octets operator+(Octets a, const Octets& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
Octets Texte(const std::string& s) { return Octets(s.begin(), s.end()); }
template <class V>
Octets Valeur(V v) {
  Octets o(sizeof v);
  std::memcpy(o.data(), &v, sizeof v);
  return o;
}

// What a formatter of the layout (0 plain, 1 sized) writes through Ecriture.
template <class F>
Octets Flux(uint8_t Disposition, F Ecriture) {
  TMemoryStream flux;
  Ecriture(*Fuzz::Formateur(Disposition, &flux));
  return flux.Bytes();
}

// A few elements of each element type, unsorted, with a duplicate.
template <class T>
std::vector<T> Exemples() {
  if constexpr (std::is_same_v<T, bool>) return {true, false, true};
  else if constexpr (std::is_arithmetic_v<T>) return {T(5), T(2), T(7), T(2)};
  else if constexpr (std::is_same_v<T, std::string>) return {"poire", "Pomme", std::string("pêche"_ansi), "poire"};
  else if constexpr (std::is_same_v<T, std::u16string>) return {u"\u0416\u0443\u043a", u"abc", u"\u0416\u0443\u043a"};
  else if constexpr (std::is_same_v<T, TObject*>) return {new TCustomCodage("code"), nullptr, new TErreur("erreur")};
  else if constexpr (std::is_same_v<T, const TClass*>) return {TErreur::StaticClass(), TArrayOfInteger::StaticClass()};
  else if constexpr (std::is_same_v<T, TypeDureeStockee>) return {{1.5, nullptr}, {-0.25, nullptr}, {1e300, nullptr}};
  else if constexpr (std::is_same_v<T, TypeItemInfoAcces>) return {{TErreur::StaticClass(), 3, nullptr}, {nullptr, 1, nullptr}};
  else if constexpr (std::is_same_v<T, TypeNomTypeEtClasseChamp>)
    return {{"INTEGER", TChampInteger::StaticClass()}, {std::string("Durée"_ansi), nullptr}, {"STRING", TChampString::StaticClass()}};
  else return {T{}, T{}};
}

// One seed per class, in the plain and the sized layout by turns.
void SemencesTableaux() {
  Fuzz::TTableauxLisibles::PourChacun([]<class A>(std::size_t Rang) {
    using T = typename A::T;
    const auto disposition = static_cast<uint8_t>(Rang % 2);
    std::unique_ptr<A> a(static_cast<A*>(A::StaticClass()->Creer(4, true, std::is_same_v<T, TObject*>)));
    for (const T& v : Exemples<T>()) a->SetElementPosition(v, a->GetNombreTotalElements() + 1);
    const Octets flux = Flux(disposition, [&](TBinaryFormatter& f) { a->Ecrire(&f, nullptr); });
    Ecrire("TemplateArray", A::StaticClass()->ClassName(),
           Octets{static_cast<uint8_t>(Rang), disposition, static_cast<uint8_t>(Rang * 37)} + flux);
  });
}

void SemencesObjets() {
  auto* arbre = new TErreur("racine");
  (new TErreur("fille"))->AjouterA(arbre);
  TArrayOfTObject liste(4, true, true);
  liste.Ajouter(arbre);
  liste.Ajouter(new TCustomCodage("secret"));
  liste.Ajouter(nullptr);
  auto* nombres = new TPagedArrayOfInteger(2, true, false);
  for (int32_t v : {3, 1, 4, 1, 5}) nombres->Ajouter(v);
  liste.Ajouter(nombres);
  for (uint8_t mode : {0, 1, 2, 3})
    Ecrire("LireObjet", "liste-" + std::to_string(mode),
           Octets{mode} + Flux(mode, [&](TBinaryFormatter& f) { f.EcrireObjet(&liste, nullptr); }));
  Ecrire("LireObjet", "nil", Octets{0} + Flux(0, [](TBinaryFormatter& f) { f.EcrireObjet(nullptr, nullptr); }));
}

void SemencesBases() {
  TBase base("Ecole", true);
  for (uint8_t mode : {0, 1, 2, 3})
    Ecrire("LireObjet", "base-" + std::to_string(mode),
           Octets{mode} + Flux(mode, [&](TBinaryFormatter& f) { f.EcrireObjet(&base, nullptr); }));
}

void SemencesCodage() {
  TCustomCodage codage("motdepasse");
  for (uint8_t disposition : {0, 1})
    Ecrire("Codage", disposition ? "sized" : "plain",
           Octets{disposition, 4} + Texte("1234") + Octets{5} + Texte("texte") +
               Flux(disposition, [&](TBinaryFormatter& f) { codage.Ecrire(&f, nullptr); }));
}

void SemencesBaseUtilisateurs() {
  Ecrire("BaseUtilisateurs", "utilisateur", Octets{0} + Flux(0, [](TBinaryFormatter& f) {
           f.EcrireCardinal(7);
           for (const char* t : {"Jeanne Martin", "JMA", "jmartin"}) f.EcrireChaine(TLogin(t).GetCode());
           f.EcrireChaine(TMotDePasse("secret").GetCode());
           f.EcrireBooleen(true);
           f.EcrireChaine("texte");
           f.EcrireBooleen(false);
         }));
  Ecrire("BaseUtilisateurs", "profil", Octets{1} + Flux(0, [](TBinaryFormatter& f) {
           f.EcrireCardinal(3);
           f.EcrireChaine(TLogin("Professeurs").GetCode());
           f.EcrireWord(1);
           uint8_t droits[256] = {};
           for (int d : {6, 7, 28, 54}) droits[d] = 1;
           f.EcrireTampon(droits, 256);
         }));
  Ecrire("BaseUtilisateurs", "affectation", Octets{2, 1, 0, 0, 0, 9, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0});
  Octets profil(641, 0);
  profil[0] = 3;
  profil[1] = 40;
  profil[5] = 4;
  for (int i = 0; i < 4; ++i) profil[static_cast<std::size_t>(6 + i)] = static_cast<uint8_t>("Nord"[i]);
  Ecrire("BaseUtilisateurs", "profil-serveur", profil);
}

void SemencesDebug() {
  Ecrire("Debug", "image", Octets{64} + ImageDebugEssai::ImageEssai().Octets);
}

void SemencesMemoire() {
  TypeEnsembleMemoire a, b;
  Memoire::Initialiser(a);
  Memoire::Initialiser(b);
  for (uint32_t v : {9u, 3u, 0xFFFFFFFFu, 12u, 0u, 7u, 5u}) Memoire::Inserer(v, a);
  for (uint32_t v : {3u, 4u, 12u}) Memoire::Ajouter(v, b);
  auto bloc = [](const TypeEnsembleMemoire& e) {
    std::size_t taille = 0;
    void* tampon = nullptr;
    Memoire::VersTampon(e, taille, tampon);
    Octets o(static_cast<uint8_t*>(tampon), static_cast<uint8_t*>(tampon) + taille);
    Memoire::Desallouer(tampon, taille);
    return o;
  };
  Ecrire("Memoire", "deux-ensembles", bloc(a) + bloc(b));
  Memoire::Liberer(a);
  Memoire::Liberer(b);
}

void SemencesDuree() {
  TFormateurDureePourDebogage formateur;
  int i = 0;
  for (double d : {1.5, -2.0 / 3, 12345.678901234, 1e-7, 0.0}) {
    std::string texte;
    formateur.DureeEnTexte(d, texte);
    Ecrire("Duree", "duree-" + std::to_string(i++), Valeur(d) + Valeur(d * 3) + Texte(texte));
  }
}

void SemencesChaineUnicode() {
  const std::u16string texte = u"Déjà vu \u20AC \u0416 \u65E5\u672C \U0001F600";
  const std::pair<uint8_t, int32_t> pages[] = {{0, 0}, {2, ChaineUnicode::CP_US_ASCII}, {3, ChaineUnicode::CP_UTF8},
                                               {5, 1251}, {8, 932}};
  for (const auto& [rang, page] : pages)
    Ecrire("ChaineUnicode", "page-" + std::to_string(page), Octets{rang} + Texte(ChaineUnicode::DepuisUnicode(texte, page)));
}

// A module, its "CHAINES" text, the program's resource-string map and a "Config.lng".
void SemencesModuleLangue() {
  const std::string chaines = "<chaines>\r\n<chaine cle=\"Cl&amp;e\">Texte &lt;b&gt;\r\nété</chaine>\r\n"
                              "<chaine cle=\"Autre\">x</chaine>\r\n</chaines>";
  Ecrire("ModuleLangue", "module", Octets{0} + Texte(FormatModule::Ecrire({{"CHAINES", chaines}, {"DRC", "x"}})));
  Ecrire("ModuleLangue", "chaines", Octets{1} + Texte(chaines));
  Ecrire("ModuleLangue", "drc", Octets{2} + Texte(ChaineRessource::TexteDRC()));
  Ecrire("ModuleLangue", "config", Octets{3} + Texte("fr-FR=fr.lng\r\nCheminMiseAJour=http://h/l/\r\nDefaut=en.lng"));
}

void SemencesFormat() {
  const char* formats[] = {"%s: %u bytes at offset %u lie beyond its %u bytes", "[ebp-%.8X] %-*s = %s",
                           "%1:s %0:d %%", "%5d|%-5d|%.3d", "%.2f %e %g %n %m", "%p %x %*.*f"};
  int i = 0;
  for (const char* format : formats) {
    const Octets genres = i % 2 ? Octets{3, 0, 1, 2} : Octets{0, 3, 2, 4};
    Ecrire("Format", "format-" + std::to_string(i++),
           genres + Valeur<int64_t>(-42) + Valeur<uint64_t>(7) + Valeur(3.14159) + Valeur<uint64_t>(12) + Texte(format));
  }
}

// Every file's record as its writer stores it, received as a creation, a change and a deletion, and
// read back through each of its stored layouts.
void SemencesOrdreModif() {
  Fuzz::TBaseOuverte base;
  for (int32_t place = 1; place <= 42; ++place) {
    TFichierSup& f = *SupFichiers::Fichier(place);
    const auto& dispositions = f.Description().Dispositions;
    Octets stocke(dispositions.back().Taille, 0);
    f.ViderArticle();
    if (f.Description().Ecrire != nullptr) f.EcrireArticleStocke(stocke.data(), 8 * place, GM_Creation);
    Octets ordres{0};
    for (uint8_t genre : {GM_Creation, GM_Modification, GM_Suppression}) {
      const Octets ordre = Fuzz::Ordre(genre, place, 8 * place, stocke);
      ordres = ordres + Valeur(static_cast<uint16_t>(ordre.size())) + ordre;
    }
    Ecrire("OrdreModif", "ordres-" + std::to_string(place), ordres);
    for (std::size_t d = 0; d < dispositions.size(); ++d) {
      Octets lu{1, static_cast<uint8_t>(place - 1), static_cast<uint8_t>(d), GM_Creation};
      lu = lu + Valeur<int32_t>(8 * place) + (d + 1 == dispositions.size() ? stocke : Octets(dispositions[d].Taille, 0));
      Ecrire("OrdreModif", "stocke-" + std::to_string(place) + "-" + std::to_string(d), lu);
    }
  }
}

// A creation order for every file in base order, each record referring to the records the orders
// before it created: every reference of every declared layout resolves, so that the fuzzer starts
// from records that all files accept.
void SemencesOrdreModifBase() {
  Fuzz::TBaseOuverte base;
  Octets ordres{0};
  for (int32_t place = 1; place <= 42; ++place) {
    TFichierSup& f = *SupFichiers::Fichier(place);
    const uint32_t taille = f.Description().Dispositions.back().Taille;
    const auto identifiant = static_cast<int32_t>(taille);
    f.ViderArticle();
    RemplirArticle(f, place);
    std::memcpy(f.Table, &identifiant, 4);
    Fuzz::Verifier(Xi::Inserer(f.Table), "every filled record is inserted");
    Octets stocke(taille, 0);
    Fuzz::Verifier(f.EcrireArticleStocke(stocke.data(), identifiant, GM_Creation), "every record is written");
    const Octets ordre = Fuzz::Ordre(GM_Creation, place, identifiant, stocke);
    ordres = ordres + Valeur(static_cast<uint16_t>(ordre.size())) + ordre;
  }
  Ecrire("OrdreModif", "ordres-base", ordres);
}

// The settings' requests as their setters send them, turned into the orders the server broadcasts.
void SemencesOrdresReglages() {
  struct TClientEnregistreur final : IClientDonnees {
    std::vector<std::pair<uint32_t, Octets>> Requetes;
    std::vector<int32_t> Parametres;
    bool PasserParServeur() override { return true; }
    bool EnvoyerRequeteSynchrone(uint32_t Code, int32_t Parametre, int32_t Taille, const void* Donnees, bool,
                                 void*, int32_t) override {
      const auto* d = static_cast<const uint8_t*>(Donnees);
      Requetes.emplace_back(Code, Donnees != nullptr ? Octets(d, d + Taille) : Octets{});
      Parametres.push_back(Parametre);
      return true;
    }
  } client;
  Fuzz::TBaseOuverte base;
  NetClient::ClientDonnees() = &client;
  TParametresBase& parametres = *ParametresBase::Parametres();
  parametres.DefinirAppliquerOrdre(false);
  parametres.DefinirJoursOuvres(62);
  parametres.ModifierPremiereDate(45901);
  TypeDomaineHebdomadaire semaines;
  semaines.Inclure(4);
  parametres.ModifierDomaineVerrouillage(semaines);
  parametres.ModifierClotureAutomatique(1);
  TParametresExportAutoBulvera e;
  e.Entier = 3;
  parametres.ModifierParametresExportAuto(e);
  parametres.DefinirAppliquerOrdre(true);
  (void)SupParam::ModifierSeuilHSSProfesseur(4000, false);
  (void)SupParam::ModifierPlaceDemiJournee(6, false);
  (void)SupParam::ModifierNomEtablissement("Lycee", false);
  (void)SupParam::ModifierApportProfesseurAnnuel(0, false);
  (void)SupDemiPension::ModifierDebutDemiPension(8, false);
  (void)SupDemiPension::ModifierGenresRessourcesDemiPension(29, false);
  (void)SupLibelleHeure::ModifierHoraireLibelleHeure(0, 3, "09h30", false);
  (void)SupLibelleHeure::ModifierVisibleEcranLibelleHeure(1, 144, true, false);
  (void)SupOption::ModifierOption(4, 70, false);
  (void)SupOption::MettreOptionsParDefaut(false);
  NetClient::ClientDonnees() = nullptr;
  const Octets grille = Valeur<uint16_t>(20) + Valeur<uint16_t>(5) + Valeur<uint16_t>(10);
  Octets tout = grille;
  for (std::size_t i = 0; i < client.Requetes.size(); ++i) {
    const auto& [code, donnees] = client.Requetes[i];
    const uint32_t categorie = code >> 16;
    const uint8_t unite = categorie == 0x8002   ? 0
                          : categorie == 0x8003 ? 3
                          : categorie == 0x8004 ? 4
                          : categorie == 0x8005 ? 5
                          : (code == 0x80010000 || code == 0x80010001 || code == 0x80010700 || code == 0x80010C00)
                              ? 1
                              : 2;
    const Octets ordre = Octets{unite} + Valeur(static_cast<uint16_t>(code & 0xFFFF)) + Valeur(client.Parametres[i]) +
                         Valeur(static_cast<uint16_t>(donnees.size())) + donnees;
    Ecrire("OrdresReglages", "ordre-" + std::to_string(i), grille + ordre);
    tout = tout + ordre;
  }
  Ecrire("OrdresReglages", "tous", tout);
  Ecrire("OrdresReglages", "grille-vide", Octets(6, 0) + Octets{4, 0, 0, 0, 0, 0, 0, 16, 0});
}

// The content of an object as it writes itself (no class name before it), after the choice byte of
// a target that reads objects directly: bits 0 and 1 the disposition, the rest the rank of the class.
Octets Direct(uint8_t Rang, uint8_t Disposition, TObject* Objet) {
  return Octets{static_cast<uint8_t>(Rang << 2 | Disposition)} +
         Flux(Disposition, [&](TBinaryFormatter& f) { InterfaceOf<ISerializable>(Objet)->Ecrire(&f, nullptr); });
}

void SemencesParametres() {
  // In the target's order of classes.
  std::vector<std::unique_ptr<TCustomParametre>> p;
  auto ajouter = [&](TCustomParametre* Parametre, int32_t Etiquette) {
    Parametre->Etiquette = Etiquette;
    p.emplace_back(Parametre);
  };
  auto* b = new TParametreBooleen("actif", false);
  b->SetValeur(true);
  ajouter(b, 1);
  auto* c = new TParametreCardinal("cle", false);
  c->SetValeur(0xFFFFFFFEu);
  ajouter(c, 2);
  auto* i = new TParametreInteger("nombre", false);
  i->SetValeur(-40);
  ajouter(i, -3);
  auto* l = new TParametreInt64("grand", false);
  l->SetValeur(int64_t{1} << 40);
  ajouter(l, 4);
  auto* d = new TParametreDouble("taux", false);
  d->SetValeur(0.1);
  ajouter(d, 5);
  auto* r = new TParametreReal("reel", false);
  r->SetValeur(-1e300);
  ajouter(r, 6);
  auto* s = new TParametreSingle("simple", false);
  s->SetValeur(1.5f);
  ajouter(s, 7);
  auto* t = new TParametreTDateTime("debut", false);
  t->SetValeur(45000.75);
  ajouter(t, 8);
  auto* u = new TParametreDuree("duree", false);
  u->SetValeur({2.5, nullptr});
  ajouter(u, 9);
  auto* x = new TParametreString("texte", false);
  x->SetValeur("d\xE9j\xE0");
  ajouter(x, 10);
  auto* w = new TParametreWideString("large", false);
  w->SetValeur(u"\u20AC\u0416");
  ajouter(w, 11);
  auto* o = new TParametreObject("objet", false);
  auto* interne = new TParametreString("interne", false);
  interne->SetValeur("dedans");
  o->SetValeur(interne);
  ajouter(o, 12);
  ajouter(new TParametreInterface("interface", false), 13);
  ajouter(new TParametreReferenceArticle("reference", false), 14);
  for (std::size_t rang = 0; rang < p.size(); ++rang)
    for (uint8_t disposition : {0, 1, 3})
      Ecrire("Parametre", std::string(p[rang]->ClassName()) + "-" + std::to_string(disposition),
             Direct(static_cast<uint8_t>(rang), disposition, p[rang].get()));
  delete interne;
}

// A class that publishes properties at index numbers 0, 2 and 3, one of them an object property.
class TArticleSemence : public TObject {
 public:
  static const TClass* StaticClass();
  const TClass* ClassType() const override { return StaticClass(); }
  static constexpr TInfoPropriete kProprietes[] = {
      {"Code", "Integer", tkInteger, nullptr, 0, true},
      {"Lien", "TErreur", tkClass, &TErreur::StaticClass, 2, true},
      {"Nom", "String", tkLString, nullptr, 3, false},
  };
};
const TClass* TArticleSemence::StaticClass() {
  static const TClass descriptor("TArticleSemence", TObject::StaticClass(), nullptr, kProprietes);
  return &descriptor;
}

void SemencesProprietesPubliees() {
  TProprietePubliee propriete(TErreur::StaticClass(), "Lien", "TErreur", tkClass, TErreur::StaticClass(), true);
  TChampPublie champ(TErreur::StaticClass(), "Taux", "Double", tkFloat, TObject::StaticClass(), true);
  TListeProprietesPubliees liste(TArticleSemence::StaticClass(), nullptr);
  TListeChampsPublies champs(TArticleSemence::StaticClass(), nullptr);
  TObject* objets[] = {&propriete, &champ, &liste, &champs};
  for (uint8_t rang = 0; rang < 4; ++rang)
    for (uint8_t disposition : {0, 1, 3})
      Ecrire("ProprietePubliee", std::string(objets[rang]->ClassName()) + "-" + std::to_string(disposition),
             Direct(rang, disposition, objets[rang]));
  for (TListeProprietesPubliees* l : {&liste, static_cast<TListeProprietesPubliees*>(&champs)})
    for (int32_t i = 0; i < l->GetNombreElements(); ++i) delete l->GetElement(i);
}

// Network objects in every mode, orders and their answers, and published parameter lists, written
// by the system's writers in the four layouts.
void SemencesObjetsReseau() {
  Fuzz::DemarrerObjetsReseau();
  Fuzz::TOrdreFuzz ordre;
  TListeParametresPublies* p = ordre.Parametres();
  static_cast<TParametreInteger*>(p->Parametre(0))->SetValeur(42);
  static_cast<TParametreString*>(p->Parametre(1))->SetValeur("texte");
  static_cast<TParametreObjetReseau*>(p->Parametre(2))->SetValeur(Fuzz::ObjetLocal());
  static_cast<TParametreDouble*>(p->Parametre(4))->SetValeur(21.0);
  Fuzz::TOrdreFuzz echec;
  echec.SetErreur(new TErreur("Nombre negatif"));
  (new TErreur("detail"))->AjouterA(echec.Erreur());
  TDeclarationObjetsReseau declarations;
  declarations.Ajouter(Fuzz::ObjetLocal());
  declarations.Ajouter(&ordre);
  Fuzz::TObjetReseauFuzz inconnu;
  inconnu.Valeur = 7;
  inconnu.SetIdentifiant(MakeGUID("{11111111-2222-3333-4444-555555555555}"));
  TSerializable serialisable;
  serialisable.SetParametres(new TListeParametresPublies(Fuzz::TOrdreFuzz::StaticClass(), nullptr));
  for (uint8_t d : {0, 1, 2, 3}) {
    const std::string suffixe = "-" + std::to_string(d);
    const auto objet = [&](TObject* o, TClasseFormat format) {
      return Flux(d, [&](TBinaryFormatter& f) { f.EcrireObjet(o, format); });
    };
    Ecrire("ObjetReseau", "requete" + suffixe, Octets{d} + objet(&ordre, TFSModeRequete::StaticClass()));
    Ecrire("ObjetReseau", "reponse" + suffixe, Octets{d} + objet(&echec, TFSModeReponse::StaticClass()));
    Ecrire("ObjetReseau", "declarations" + suffixe,
           Octets{d} + objet(&declarations, TFSDeclarationObjet::StaticClass()) + objet(&declarations, nullptr));
    Ecrire("ObjetReseau", "references" + suffixe,
           Octets{d} + objet(Fuzz::ObjetLocal(), TFSObjetParReference::StaticClass()) +
               objet(Fuzz::ObjetLocal(), TFSContenuObjet::StaticClass()) + objet(&inconnu, TFSContenuObjet::StaticClass()));
    Ecrire("ObjetReseau", "serialisable" + suffixe, Octets{d} + objet(&serialisable, nullptr));
    Ecrire("OrdreReseau", "ordre" + suffixe, Octets{d} + objet(&ordre, TFSModeRequete::StaticClass()));
    Ecrire("OrdreReseau", "echec" + suffixe, Octets{static_cast<uint8_t>(d | 4)} + objet(&echec, TFSModeReponse::StaticClass()));
    Ecrire("OrdreReseau", "reponse" + suffixe, Octets{static_cast<uint8_t>(d | 4)} + objet(&ordre, TFSModeReponse::StaticClass()));
    Ecrire("ParametresPublies", "liste" + suffixe,
           Octets{d} + Flux(d, [&](TBinaryFormatter& f) { serialisable.Parametres()->Ecrire(&f, nullptr); }));
    Ecrire("ParametresPublies", "parametre" + suffixe,
           Octets{static_cast<uint8_t>(d | 4)} + Flux(d, [&](TBinaryFormatter& f) { serialisable.Parametres()->ParametrePublie(1)->Ecrire(&f, nullptr); }));
    Ecrire("ParametresPublies", "requete" + suffixe,
           Octets{static_cast<uint8_t>(d | 8)} + Flux(d, [&](TBinaryFormatter& f) { ordre.EcrireRequete(&f); }));
    Ecrire("ParametresPublies", "reponse" + suffixe,
           Octets{static_cast<uint8_t>(d | 12)} + Flux(d, [&](TBinaryFormatter& f) { echec.EcrireReponse(&f); }));
  }
  inconnu.SetIdentifiant(kIdentifiantNul);
}

void SemencesTableauIndices() {
  TTableauIndices t(4);
  for (uint32_t v : {12u, 3u, 0x80000007u, 7u, 0u, 40u}) t.Ajouter(v);
  for (uint8_t disposition : {0, 1, 3})
    for (uint8_t page : {0, 3, 16})
      Ecrire("TableauIndices", "page-" + std::to_string(page) + "-" + std::to_string(disposition),
             Octets{static_cast<uint8_t>(page << 2 | disposition)} +
                 Flux(disposition, [&](TBinaryFormatter& f) { t.Ecrire(&f, nullptr); }));
}

}  // namespace

void SemencesRuche() {
  HiveFile::THive ruche;
  ruche.Create("Software\\Norvane\\Tempravo\\Service web").Values["PORTIP"] = {"PortIp", {HiveFile::kKindNumber, {}, 8080}};
  auto& connexion = ruche.Create("Software\\Norvane\\Tempravo\\Service web\\Connexion");
  for (const char* nom : {"Derniere Sauvegarde", "Adresse IP du Serveur", "Port TCP du Serveur"})
    connexion.Values[HiveFile::Fold(nom)] = {nom, {HiveFile::kKindText, "10/12/2026 14:30:05", 0}};
  ruche.Create("Software\\Norvane\\TEMPRAVO\\5.0\\Session").Values["NOMBREBASESMEMORISEES"] = {
      "NombreBasesMemorisees", {HiveFile::kKindText, "5", 0}};
  Ecrire("Ruche", "ruche", Texte(HiveFile::Serialise(ruche)));
  Ecrire("Ruche", "vide", Texte(HiveFile::Serialise({})));
}

void SemencesArchivageEtSauvegarde() {
  TypeArchivageEtSauvegarde p;
  SupArchivageEtSauvegarde::ParametresParDefaut(p, "C:\\Bases\\Planning.hyp", "Sauvegardes\\", "Archives\\");
  TMemoryStream flux;
  SupArchivageEtSauvegarde::Ecrire(flux, p);
  Ecrire("ArchivageEtSauvegarde", "defauts", flux.Bytes());
}

// An empty base and a base with one record of every file, as the exporter writes them, with the
// name the server puts in front; their parameter blocks alone; the user streams as their writers make them.
void SemencesFluxBase() {
  Fuzz::TBaseOuverte base;
  Fuzz::Verifier(SupToutesTables::CreerToutesLesTables(), "the tables are created");
  for (bool avecEnregistrements : {false, true}) {
    if (avecEnregistrements)
      for (int32_t place = 1; place <= 42; ++place) {
        TFichierSup& f = *SupFichiers::Fichier(place);
        f.ViderArticle();
        RemplirArticle(f, place);  // its references name the records of the files before it
        (void)Xi::Inserer(f.Table);
      }
    TMemoryStream sortie;
    VclImportExport::ExporterBase(sortie);
    Octets nom(256, 0);
    nom[0] = 9;
    std::memcpy(nom.data() + 1, "lycee.nvb", 9);
    const std::string suffixe = avecEnregistrements ? "enregistrements" : "vide";
    Ecrire("FluxBase", "base-" + suffixe, Octets{0} + nom + sortie.Bytes());
    TMemoryStream bloc;
    BlocParametresBase::EcrireBlocParametresBase(bloc);
    Ecrire("FluxBase", "bloc-" + suffixe, Octets{1} + bloc.Bytes());
  }
  SupToutesTables::LibererToutesLesTables();

  const Octets v506 = Valeur<uint16_t>(5) + Valeur<uint16_t>(0) + Valeur<uint16_t>(6);
  Ecrire("FluxUtilisateur", "vide", Octets{0} + v506 + Valeur<int32_t>(0));
  Ecrire("FluxUtilisateur", "bloc", Octets{0} + v506 + Valeur<int32_t>(3) + Texte("abc"));
  Fuzz::Verifier(SupToutesTables::CreerToutesLesTables(), "the tables are created");
  auto* memo = static_cast<SupToutesTables::TypeMemo*>(SupToutesTables::TableMemos());
  std::memset(memo, 0, sizeof *memo);
  memo->Numero = 4;
  std::memcpy(memo->Texte1, "memo", 4);
  (void)Xi::Inserer(SupToutesTables::TableMemos());
  TMemoryStream memos;
  SupToutesTables::EcrireMemos(memos);
  Ecrire("FluxUtilisateur", "memos", Octets{1} + v506 + memos.Bytes());
  Ecrire("FluxUtilisateur", "memos-anciens",
         Octets{1} + Valeur<uint16_t>(3) + Valeur<uint16_t>(1) + Valeur<uint16_t>(0) + Valeur<int32_t>(1) +
             Valeur<int32_t>(1004) + Valeur<uint32_t>(4) + Octets(1000, 'A'));
  SupToutesTables::LibererToutesLesTables();
  TMemoryStream reglages;
  SupToutesTables::EcrireReglagesUtilisateur(reglages);
  Ecrire("FluxUtilisateur", "reglages", Octets{2} + v506 + reglages.Bytes());
  Ecrire("FluxUtilisateur", "reglages-anciens",
         Octets{2} + Valeur<uint16_t>(4) + Valeur<uint16_t>(0) + Valeur<uint16_t>(5) + Valeur<int32_t>(8) + Octets(8, 7));
}

void SemencesCoderValeur() {
  std::string code;
  Registre::CoderValeur("3 ABCmotdepasse", true, code);
  Ecrire("CoderValeur", "login", Octets{5} + Texte("texte") + Texte(code));
}

// The service's login file as its installation writes it, with or without a line end.
void SemencesLoginService() {
  std::string code;
  Registre::CoderValeur("3 ABCmotdepasse", true, code);
  Ecrire("LoginService", "fichier", Texte(code));
  Ecrire("LoginService", "ligne", Texte(code + "\n"));
  Ecrire("LoginService", "clair", Texte("3 ABCmotdepasse"));
}

// Frames as a peer sends them: clear, several in one read, the keep-alive, enciphered.
void SemencesTrame() {
  const std::string phrase("\x11\x00\x22\x33\x44\x55\x66\x77\x88\x99\xAA\xBB\xCC\xDD\xEE\xFF", 16);
  auto trame = [](uint32_t Id, const std::string& Donnees) {
    std::string t;
    if (!Trame::Construire({7, 2}, Id, Donnees.data(), static_cast<uint32_t>(Donnees.size()), 0, t)) std::abort();
    return Texte(t);
  };
  const Octets ordre = trame(0x90001, "ordre"), profil = trame(0xD0002, std::string(640, 'p')), vivant = trame(0, "");
  Ecrire("Trame", "claire", Octets{0, 0, 0} + ordre);
  Ecrire("Trame", "trois-en-morceaux", Octets{0, 0, 1} + ordre + profil + vivant);
  std::string chiffree(ordre.begin(), ordre.end());
  TClassCryptageClientServeur chiffreur;
  if (!Trame::Chiffrer({Trame::kModeChiffre, phrase}, chiffreur, chiffree)) std::abort();
  Ecrire("Trame", "chiffree", Octets{1, 16} + Texte(phrase) + Octets{0} + Texte(chiffree) + vivant);
}

// The data client's messages, each as the target reads it (the kind's place in its list, a 16-bit
// length, the bytes): a whole handshake whose answers decipher, then the refusals and the rest.
void SemencesClientDonnees() {
  auto message = [](uint8_t Genre, const Octets& Donnees) {
    return Octets{Genre} + Valeur<uint16_t>(static_cast<uint16_t>(Donnees.size())) + Donnees;
  };
  TClassCryptageClientServeur chiffreur;
  chiffreur.PhraseSecrete = CryptageClientServeur::PhraseAuthentification("ABC", "", "alice", "Secret");
  const Octets secret = Texte(chiffreur.Chiffrer(std::string(16, 's')));
  const Octets cle = Texte(chiffreur.Chiffrer(std::string(16, 'k')));
  Octets host(361, 0);
  host[0] = 3;
  std::memcpy(host.data() + 1, "srv", 3);
  const auto version = TypeVersion{"srv", 5, 0, 6, 9}.EnOctets();
  std::memcpy(host.data() + 85, version.data(), version.size());
  const Octets ident = message(0, Valeur<uint32_t>(0) + Valeur<uint32_t>(100));
  const Octets identification = message(3, Octets(32, 0) + Valeur<uint32_t>(4242) + Octets{0} + secret + Octets{0, 0});
  const Octets authentification = message(4, Octets(52, 0) + Valeur<uint32_t>(static_cast<uint32_t>(cle.size())) + cle);
  Ecrire("ClientDonnees", "poignee-de-main",
         ident + message(1, host) + identification + authentification + message(5, Octets{0, 0}));
  Ecrire("ClientDonnees", "refus", message(3, Octets(36, 0) + Octets{4} + Octets(4, 0)) +
                                       message(4, Octets{3} + Octets(58, 0)) + message(5, Octets{6, 8}));
  Octets ancien(360, 0);
  ancien[51] = 31;
  Ecrire("ClientDonnees", "hote-ancien", message(1, ancien) + message(2, {}));
  Octets ordre(52, 0);
  ordre[7] = 10;
  std::memcpy(ordre.data() + 8, "TOrdreTest", 10);
  Octets requete(19, 0);
  requete[15] = 3;
  Ecrire("ClientDonnees", "requetes-et-ordres",
         message(14, requete + Octets{1, 2, 3}) + message(15, ordre) + message(16, Octets(45, 0)) +
             message(17, Octets{1, 9, 0, 0, 0}) + message(7, Octets(16, 2)) + message(6, {}));
}

// Blocks of the sizes that matter: empty, one whole AES block, one more byte, three blocks.
void SemencesCryptageClientServeur() {
  TClassCryptageClientServeur chiffreur;
  chiffreur.PhraseSecrete = "$ADM:Dupont$";
  for (std::size_t n : {0, 16, 17, 48})
    Ecrire("CryptageClientServeur", "bloc-" + std::to_string(n),
           Octets{12} + Texte(chiffreur.PhraseSecrete) + Texte(chiffreur.Chiffrer(std::string(n, 'k'))));
}

void SemencesLPStr() {
  TLPStr texte;
  texte.SetText("archive.zip");
  TMemoryStream flux;
  texte.EcrirePropriete(flux);
  Ecrire("LPStr", "propriete", flux.Bytes());
}

void SemencesAdressesIp() {
  TIPEndPoint point(*TIPAddress::Parse("10.1.2.3"), 49200);
  const Octets octets = Flux(0, [&](TBinaryFormatter& f) { point.Ecrire(&f, nullptr); });
  const char* textes[] = {"10.1.2.3", " 127.1 ", "0x0A.01.2.0x3", "255.255.255.255", "10.1.2.256"};
  for (std::size_t i = 0; i < std::size(textes); ++i)
    Ecrire("AdressesIp", "point-" + std::to_string(i),
           Octets{static_cast<uint8_t>(std::strlen(textes[i]))} + Texte(textes[i]) + octets);
}

// A packed selection of the three records the target's base holds in each file, and sized buffers.
void SemencesPetitsBlocsBase() {
  Fuzz::TBaseOuverte base;
  for (int32_t place : {1, 6, 14}) {
    const auto taille = static_cast<int32_t>(NetXi::Table(place)->TailleStockee);
    Octets bloc = Valeur<int32_t>(3);
    for (int32_t i = 1; i <= 3; ++i) bloc = bloc + Valeur<int32_t>(i * taille);
    Ecrire("PetitsBlocsBase", "selection-" + std::to_string(place), Octets{0, static_cast<uint8_t>(place - 1)} + bloc);
  }
  for (int32_t n : {0, 4, 16}) {
    TMemoryStream flux;
    const std::string texte = "tampon de seize!";
    TIEStream::Ecrire(&flux, texte.data(), static_cast<int32_t>(texte.size()));
    Ecrire("PetitsBlocsBase", "tampon-" + std::to_string(n), Octets{1, static_cast<uint8_t>(n)} + flux.Bytes());
  }
}

// A stream received in two pieces, one received corrupt, and one served on request; orders packed
// and an answer with an identifier; user-base orders on each table.
void SemencesTransfertEtOrdres() {
  using namespace TransfertStream;
  constexpr uint8_t StreamBase = 0, StreamInfosUtilisateur = 1;
  auto message = [](uint8_t selecteur, const auto& donnees) {
    return Octets{selecteur} + Valeur<uint16_t>(static_cast<uint16_t>(donnees.size())) +
           Octets(donnees.begin(), donnees.end());
  };
  std::string contenu;
  for (int i = 0; i < 2000; ++i) contenu += std::to_string(i * 7919 % 10007);
  const std::string compresse = Deflater(contenu.data(), contenu.size());
  const auto total = static_cast<uint32_t>(compresse.size());
  Octets recu = message(1, StreamPret(StreamBase, total));
  for (uint32_t pos = 0; pos < total; pos += kTaillePiece)
    recu = recu + message(4, EnvoyerStream(StreamBase, compresse.data() + pos, std::min(kTaillePiece, total - pos)));
  Ecrire("TransfertStream", "recu", recu);
  Ecrire("TransfertStream", "corrompu",
         message(1, StreamPret(StreamInfosUtilisateur, 6)) + message(4, EnvoyerStream(StreamInfosUtilisateur, "zlib?!", 6)));
  Ecrire("TransfertStream", "servi",
         message(0, Octets{1}) + message(3, DemanderStreamSuivant(1, 0, kTaillePiece)) +
             message(3, DemanderStreamSuivant(1, 4096, kTaillePiece)) + message(5, Octets{1}));

  Octets ordres;
  for (const std::string o : {"ordre un", "", "ordre trois"})
    ordres = ordres + Valeur<uint32_t>(static_cast<uint32_t>(o.size())) + Texte(o);
  Ecrire("MessagesClient", "ordres", Octets{0} + ordres);
  Ecrire("MessagesClient", "reponse", Octets{1, 4, 1, 42, 0, 0, 0});
  const std::string mode = MessagesModeExclusif::EcrireModeModifie({3, true, 1, 2, 77, "poste 12"});
  Ecrire("MessagesClient", "mode-exclusif", Octets{2} + Texte(mode));

  auto ordre = [](uint8_t genre, uint32_t table, uint32_t ident) {
    return Octets{genre} + Valeur<uint32_t>(table) + Valeur<uint32_t>(ident);
  };
  Ecrire("OrdreUtilisateur", "utilisateur", ordre(GM_Creation, 2, 5) + Flux(0, [](TBinaryFormatter& f) {
           f.EcrireCardinal(5);
           for (const char* t : {"Jeanne Martin", "JMA", "jmartin"}) f.EcrireChaine(t);
           f.EcrireChaine(TMotDePasse("secret").GetCode());
           f.EcrireBooleen(true);
           f.EcrireChaine("texte");
           f.EcrireBooleen(false);
         }));
  Octets profil(OrdreUtilisateur::kTailleProfilUtilisateur, 0);
  profil[4] = 3;
  profil[5] = 'P', profil[6] = 'r', profil[7] = 'o';
  Ecrire("OrdreUtilisateur", "profil", ordre(GM_Modification, 3, 1) + profil);
  TypeProfilServeur serveur = TypeProfilServeur::Vierge();
  Ecrire("OrdreUtilisateur", "profil-serveur",
         ordre(GM_Creation, 1, 2) + Octets(serveur.Octets, serveur.Octets + kTailleProfilServeur));
  Ecrire("OrdreUtilisateur", "suppression", ordre(GM_Suppression, 4, 1));
}

// The data server's account file and the sessions' messages: a few exchanges, with and without a
// login first.
void SemencesServeur() {
  AccountBase comptes;
  uint32_t profil = 0, id = 0;
  (void)comptes.AddServerProfile("Base", 49300, profil);
  (void)comptes.AddUserProfile({0, "Modification", 1, {}}, id);
  (void)comptes.AddUser({0, "Superviseur", "SPR", "", "Secret", 0, ""}, id);
  (void)comptes.AddUser({0, "Jeanne", "JMA", "jm", "pw1", 1, "texte"}, id);
  (void)comptes.Assign("JMA", profil, comptes.UserProfiles()[0].Id, id);
  Ecrire("ComptesServeur", "comptes", Texte(comptes.Serialize()));
  // A message: the index of its kind, a 16-bit length, the data.
  auto message = [](uint8_t Genre, const Octets& Donnees) {
    return Octets{Genre} + Valeur(static_cast<uint16_t>(Donnees.size())) + Donnees;
  };
  Octets requete(19, 0);
  requete[2] = 1;
  requete[15] = 4;
  requete = requete + Octets{1, 2, 3, 4};
  Octets suivant(12, 0);
  suivant[9] = 0x10;
  Ecrire("SessionServeur", "avant-login", Octets{0} + message(2, {}) + message(0, {}) + message(11, requete));
  Ecrire("SessionServeur", "session",
         Octets{1} + message(7, {}) + message(8, {0}) + message(9, suivant) + message(10, {0}) + message(8, {1}) +
             message(9, suivant) + message(11, requete) + message(12, {1}) + message(6, {}) + message(2, {}) +
             message(13, Octets(16, 0)));
  std::string trame;
  if (Trame::Construire({1, 2}, GenresMessages::CM_DEMANDER_PROFILS_SRV, nullptr, 0, 0, trame))
    Ecrire("SessionServeur", "brut", Octets{2, 6} + Texte(trame) + Texte(trame));
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds <folder>\n");
    return 2;
  }
  Fuzz::Demarrer();
  gDossier = argv[1];
  SemencesObjets();
  SemencesTableaux();
  SemencesCodage();
  SemencesBaseUtilisateurs();
  SemencesDebug();
  SemencesMemoire();
  SemencesDuree();
  SemencesChaineUnicode();
  SemencesFormat();
  SemencesModuleLangue();
  SemencesOrdreModif();
  SemencesOrdreModifBase();
  SemencesOrdresReglages();
  SemencesRuche();
  SemencesArchivageEtSauvegarde();
  SemencesCoderValeur();
  SemencesFluxBase();
  SemencesLoginService();
  SemencesTrame();
  SemencesCryptageClientServeur();
  SemencesClientDonnees();
  SemencesLPStr();
  SemencesAdressesIp();
  SemencesParametres();
  SemencesProprietesPubliees();
  SemencesTableauIndices();
  SemencesObjetsReseau();
  SemencesServeur();
  SemencesPetitsBlocsBase();
  SemencesTransfertEtOrdres();
  SemencesBases();
  Modules::Arreter();
  return 0;
}
