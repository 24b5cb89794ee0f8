// Seeds of the base streams' readers: the archive and backup settings, coded setting values, the base as
// the exporter writes it and the user streams.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/seeds/Semences.h"
#include "base/SupFichiers.h"
#include "base/SupParametresGrille.h"
#include "net/NetBases.h"
#include "base/fichiers/FichierSup.h"
#include "base/fichiers/SupPublicationSurInternet.h"
#include "base/matieres/SupApportMatiere.h"
#include "base/matieres/SupRelationApportPeriode.h"
#include "base/sites/SupSite.h"
#include "core/records/Xi.h"
#include "fuzz/BaseFuzz.h"
#include "net/NetClient.h"
#include "streams/BlocParametresBase.h"
#include "streams/ProprietesImpressionGrille.h"
#include "streams/Registre.h"
#include "streams/SauvegardeurTLV.h"
#include "streams/SupArchivageEtSauvegarde.h"
#include "streams/SupToutesTables.h"
#include "streams/VclImportExport.h"
#include "tests/base/ArticleEssai.h"

namespace Semences {
namespace {

void SemencesArchivageEtSauvegarde() {
  TypeArchivageEtSauvegarde p;
  SupArchivageEtSauvegarde::ParametresParDefaut(p, "C:\\Bases\\Planning.hyp", "Sauvegardes\\", "Archives\\");
  TMemoryStream flux;
  SupArchivageEtSauvegarde::Ecrire(flux, p);
  Ecrire("ArchivageEtSauvegarde", "defauts", flux.Bytes());
}

void SemencesCoderValeur() {
  std::string code;
  Registre::CoderValeur("3 ABCmotdepasse", true, code);
  Ecrire("CoderValeur", "login", Octets{5} + Texte("texte") + Texte(code));
}

// A base of each older format that chooses a course layout of its own: a parameter block of that
// version (its header, then zeros, which every older block reads), an empty block for every file
// in the size of its layout for that version, and one course.
void SemencesFluxBaseAnciennes() {
  struct Version {
    char Nom;
    uint16_t Majeure, Mineure, Revision;
  };
  const Version versions[] = {{'A', 2, 0, 47}, {'B', 2, 0, 118}, {'C', 2, 99, 0}, {'D', 3, 0, 0},
                              {'E', 3, 0, 1},  {'F', 3, 0, 4},   {'G', 3, 0, 5},  {'H', 3, 0, 11},
                              {'I', 3, 0, 26}, {'J', 3, 1, 1},   {'K', 4, 0, 98}};
  Fuzz::TBaseOuverte base;
  for (const Version& v : versions) {
    Octets bloc(4096, 0);
    const uint16_t entete[] = {v.Majeure, v.Mineure, v.Revision, 20, 5, 10, 63};
    std::memcpy(bloc.data(), entete, sizeof entete);
    Octets flux = Valeur<int32_t>(static_cast<int32_t>(bloc.size())) + bloc;
    for (int32_t place = 1; place <= 42; ++place) {
      const TFichierSup& f = *SupFichiers::Fichier(place);
      const uint32_t taille =
          f.Description().Dispositions[f.DispositionPour({v.Majeure, v.Mineure, v.Revision, 0}, true)].Taille;
      Octets contenu(taille, 0xFF);
      if (place == 28) {
        Octets cours(taille);
        for (uint32_t k = 0; k < taille; ++k) cours[k] = static_cast<uint8_t>(k * 37 + 11);
        cours[1] = 1;  // placed,
        cours[7] = cours[15] = 1;
        contenu = contenu + cours;
      }
      // A student of the version's layout and a family named "faf", which old CFA bases rename.
      if (place == 8) {
        Octets eleve(taille);
        for (uint32_t k = 0; k < taille; ++k) eleve[k] = static_cast<uint8_t>(k * 29 + 3);
        contenu = contenu + eleve;
      }
      if (place == 9) contenu = contenu + Octets{3, 3, 'f', 'a', 'f'} + Octets(10, 0);
      flux = flux + Valeur<int32_t>(static_cast<int32_t>(contenu.size())) + contenu;
    }
    Octets nom(256, 0);
    // The seed reaches the course reader of its layout once every file of its version is read: the
    // block and every table. Until the other files read their older layouts, such a base is refused
    // for one of them, never for its courses.
    TMemoryStream essai;
    const Octets recu = nom + flux;
    essai.Assign(recu.data(), recu.size());
    try {
      VclImportExport::ImporterBase(essai);
      Fuzz::Verifier(SupFichiers::VersionBase().Mineure == v.Mineure &&
                         SupFichiers::VersionBase().Revision == v.Revision &&
                         Xi::Nombre(SupFichiers::Fichier(28)->Table) == 1,
                     "an older base reads its course");
    } catch (const EReadError& e) {
      Fuzz::Verifier(std::string(e.what()).find(".CRS") == std::string::npos,
                     "an older base is refused for another file than its courses");
    }
    SupToutesTables::LibererToutesLesTables();
    Ecrire("FluxBase", std::string("base-ancienne-") + v.Nom, Octets{0} + recu);
  }
  SupFichiers::VersionBase() = TypeVersionFormat{5, 0, 6, 1};
  NetBases::BaseAnterieure506() = false;
  SupParametresGrille::Initialiser();
}

// An empty base and a base with one record of every file, as the exporter writes them, with the
// name the server puts in front; their parameter blocks alone; the user streams as their writers make them.
void SemencesFluxBase() {
  // The orders are made first: making them opens and closes a base of their own.
  const std::vector<Octets> ressources = OrdresRessources();
  const std::vector<Octets> relations = OrdresRelationsCours();
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
    if (avecEnregistrements) {
      // Besides the module's contribution and its period relation with a calendar, a curriculum's
      // contribution and a relation without a calendar.
      SupApportMatiere::ViderArticle();
      *SupApportMatiere::Article() = {0, 150, 1, SupApportMatiere::kGenreCursus, {}, 1, 1};
      (void)Xi::Inserer(SupApportMatiere::Fichier().Table);
      SupRelationApportPeriode::ViderArticle();
      *SupRelationApportPeriode::Article() = {0, 1, Xi::NumeroCourant(SupApportMatiere::Fichier().Table), 0, 0, 1, {}};
      (void)Xi::Inserer(SupRelationApportPeriode::Fichier().Table);
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
  {
    // A base holding a resource of every kind with labels and subjects.
    Fuzz::Verifier(SupToutesTables::CreerToutesLesTables(), "the tables are created");
    for (const Octets& ordre : ressources) NetClient::AppliquerOrdreModif(ordre.data(), static_cast<int32_t>(ordre.size()));
    TMemoryStream sortie;
    VclImportExport::ExporterBase(sortie);
    Ecrire("FluxBase", "base-ressources", Octets{0} + Octets(256, 0) + sortie.Bytes());
    SupToutesTables::LibererToutesLesTables();
  }
  {
    // The same with a course and its relations (a room group held three times).
    Fuzz::Verifier(SupToutesTables::CreerToutesLesTables(), "the tables are created");
    // The exports above leave no base open to orders: register the files again.
    Fuzz::Verifier(SupFichiers::EnregistrerTousLesFichiers(), "the 42 files are registered");
    NetClient::BaseChargee() = true;
    for (const Octets& ordre : relations) NetClient::AppliquerOrdreModif(ordre.data(), static_cast<int32_t>(ordre.size()));
    Fuzz::Verifier(Xi::Nombre(SupFichiers::Fichier(29)->Table) == 3, "the course relations are read");
    TMemoryStream sortie;
    VclImportExport::ExporterBase(sortie);
    Ecrire("FluxBase", "base-relations-cours", Octets{0} + Octets(256, 0) + sortie.Bytes());
    SupToutesTables::LibererToutesLesTables();
  }
  {
    // The same with calendars and the time slots of a resource and of a course.
    const std::vector<Octets> ordres = OrdresDisponibilites();
    Fuzz::Verifier(SupToutesTables::CreerToutesLesTables(), "the tables are created");
    Fuzz::Verifier(SupFichiers::EnregistrerTousLesFichiers(), "the 42 files are registered");
    NetClient::BaseChargee() = true;
    for (const Octets& ordre : ordres) NetClient::AppliquerOrdreModif(ordre.data(), static_cast<int32_t>(ordre.size()));
    Fuzz::Verifier(Xi::Nombre(SupFichiers::Fichier(31)->Table) == 1, "the resource slots are read");
    Fuzz::Verifier(Xi::Nombre(SupFichiers::Fichier(32)->Table) == 1, "the course slots are read");
    TMemoryStream sortie;
    VclImportExport::ExporterBase(sortie);
    Ecrire("FluxBase", "base-calendriers-disponibilites", Octets{0} + Octets(256, 0) + sortie.Bytes());
    SupToutesTables::LibererToutesLesTables();
  }
  {
    // A base holding students, families, their headings and the headings given to records.
    Fuzz::Verifier(SupToutesTables::CreerToutesLesTables(), "the tables are created");
    for (const Octets& ordre : OrdresEleves()) NetClient::AppliquerOrdreModif(ordre.data(), static_cast<int32_t>(ordre.size()));
    Fuzz::Verifier(Xi::Nombre(SupFichiers::Fichier(21)->Table) == 3, "every heading given is read");
    TMemoryStream sortie;
    VclImportExport::ExporterBase(sortie);
    Ecrire("FluxBase", "base-eleves", Octets{0} + Octets(256, 0) + sortie.Bytes());
    SupToutesTables::LibererToutesLesTables();
  }
  SemencesFluxBaseAnciennes();

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
  Fuzz::Verifier(SupSite::CreerTableDesOrdresParDefaut(), "the order table is laid");
  TMemoryStream ordres;
  SupSite::EcrireTableDesOrdres(ordres);
  SupSite::LibererTableDesOrdres();
  Ecrire("FluxUtilisateur", "ordres-sites", Octets{3} + v506 + ordres.Bytes());
  Ecrire("FluxUtilisateur", "ordres-sites-anciens",
         Octets{3} + Valeur<uint16_t>(3) + Valeur<uint16_t>(0) + Valeur<uint16_t>(10) + Valeur<int32_t>(2) +
             Octets{1, 0, 1, 0, 1, 0, 0, 0, 1, 2, 1, 0, 2, 0, 0, 0});
  Ecrire("FluxUtilisateur", "ordres-sites-vide", Octets{3} + v506 + Valeur<int32_t>(0) + Valeur<int32_t>(8));
}

// Bases holding the publication tree as it is laid here, the second with nodes at the edges of the
// node numbers (negative, 0, the largest) with values that fill their field.
void SemencesFluxBasePublication() {
  Fuzz::TBaseOuverte base;
  Fuzz::Verifier(SupToutesTables::CreerToutesLesTables(), "the tables are created");
  Fuzz::Verifier(SupPublicationSurInternet::ArbreParDefaut(), "the publication tree is laid");
  Octets nom(256, 0);
  const auto ecrire = [&nom](const std::string& suffixe) {
    TMemoryStream sortie;
    VclImportExport::ExporterBase(sortie);
    Ecrire("FluxBase", "base-publication-" + suffixe, Octets{0} + nom + sortie.Bytes());
  };
  ecrire("arbre");
  TFichierSup& f = SupPublicationSurInternet::Fichier();
  int32_t index = 0;
  for (int32_t noeud : {-5, 0, 0x7FFFFFFF}) {
    f.ViderArticle();
    TypeEnregistrementPublication* a = SupPublicationSurInternet::Article();
    a->Noeud = noeud;
    a->Index = index++;
    FichierSup::EcrireChaineCourte(a->Nom, 30, "Bord");
    a->GenreValeur = SupPublicationSurInternet::GV_Texte;
    std::memset(a->Valeur, 'v', sizeof a->Valeur);
    (void)Xi::Inserer(f.Table);
  }
  ecrire("bords");
  SupToutesTables::LibererToutesLesTables();
}

// TLV documents as the writer makes them (empty, the shared grid flag, a tree of every kind), a few
// that only a hand makes (passed-over values, hostile lengths and nesting), and the grid options of
// a current stream.
void SemencesSauvegardeurTLV() {
  auto document = [](const TProprietes& t) {
    TMemoryStream flux;
    TSauvegardeurTLV::EcrireTLV(&t, flux);
    return Octets{0} + flux.Bytes();
  };
  TProprietes vide;
  Ecrire("SauvegardeurTLV", "vide", document(vide));
  TProprietes communes;
  communes.Ajouter("ProprietesCommunes", TProprietes::ValeurProprietes(nullptr));
  communes.Ajouter("ProprietesCommunes.RemonterExceptions", TProprietes::ValeurBooleen(1));
  Ecrire("SauvegardeurTLV", "communes", document(communes));

  const uint8_t octets[] = {1, 2, 3, 0, 5};
  TProprietes tous;
  tous.Ajouter("Entier", TProprietes::ValeurEntier(-1));
  tous.Ajouter("Cardinal", TProprietes::ValeurCardinal(7));
  tous.Ajouter("HuitOctets", TProprietes::ValeurHuitOctets({1, 2, 3, 4, 5, 6, 7, 8}));
  tous.Ajouter("Etendu", TProprietes::ValeurEtendu({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}));
  tous.Ajouter("Chaine", TProprietes::ValeurChaine("texte"));
  tous.Ajouter("Booleen", TProprietes::ValeurBooleen(2));
  tous.AjouterProp("Ensemble", TProprietes::TValeurProp::CreateEnsemble(octets, 5), false);
  tous.AjouterProp("Blob", TProprietes::TValeurProp::CreateBlob(octets, 5), false);
  tous.Ajouter("Sous", TProprietes::ValeurProprietes(&communes));
  tous.Ajouter("Sous.Vide", TProprietes::ValeurChaine(""));
  Ecrire("SauvegardeurTLV", "tous-genres", document(tous));

  const Octets entete = Texte("TLVtlv");
  auto nom = [](const std::string& n, uint8_t tag) { return Valeur<int32_t>(static_cast<int32_t>(n.size())) + Texte(n) + Octets{tag}; };
  Ecrire("SauvegardeurTLV", "passes",
         Octets{0} + entete + Valeur<int32_t>(3) + nom("a", 0) + Valeur<int32_t>(8) + Octets(8, 1) + nom("b", 9) +
             Valeur<int32_t>(3) + Octets(3, 2) + nom("c", 6) + entete + Valeur<int32_t>(1) + nom("d", 12) +
             Valeur<int32_t>(0));
  Ecrire("SauvegardeurTLV", "nom-enorme", Octets{0} + entete + Valeur<int32_t>(1) + Valeur<int32_t>(0x7FFFFFFF) + Texte("abc"));
  Ecrire("SauvegardeurTLV", "blob-enorme", Octets{0} + entete + Valeur<int32_t>(1) + nom("a", 8) + Valeur<int32_t>(0x7FFFFFFF));
  Ecrire("SauvegardeurTLV", "nombre-enorme", Octets{0} + entete + Valeur<int32_t>(0x7FFFFFFF) + Valeur<int32_t>(5));
  Ecrire("SauvegardeurTLV", "doublon",
         Octets{0} + entete + Valeur<int32_t>(2) + nom("a", 5) + Valeur<int32_t>(1) + Octets{1} + nom("A", 5) +
             Valeur<int32_t>(1) + Octets{0});
  Octets imbrique{0};
  for (int i = 0; i < 100; ++i) imbrique = imbrique + entete + Valeur<int32_t>(1) + nom("a", 6);
  Ecrire("SauvegardeurTLV", "imbrication", imbrique + entete + Valeur<int32_t>(0));

  TToutesProprietesImpressionGrille toutes;
  toutes.RemonterExceptions = true;
  (void)toutes.Grilles[0].ModifierProprietes(5, 1, TProprietes::Copier(tous));
  (void)toutes.Grilles[3].ModifierProprietes(0, 0, TProprietes::Copier(communes));
  TMemoryStream grilles;
  Fuzz::Verifier(toutes.Ecrire(grilles), "the grid options are written");
  for (uint8_t version = 0; version < 4; ++version)
    Ecrire("SauvegardeurTLV", "grilles-" + std::to_string(version), Octets{1, version} + grilles.Bytes());
}

}  // namespace

void Streams() {
  SemencesArchivageEtSauvegarde();
  SemencesCoderValeur();
  SemencesFluxBase();
  SemencesFluxBasePublication();
  SemencesSauvegardeurTLV();
}

}  // namespace Semences
