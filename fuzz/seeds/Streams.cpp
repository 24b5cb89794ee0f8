// Seeds of the base streams' readers: the archive and backup settings, coded setting values, the base as
// the exporter writes it and the user streams.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/seeds/Semences.h"
#include "base/SupFichiers.h"
#include "base/fichiers/FichierSup.h"
#include "core/records/Xi.h"
#include "fuzz/BaseFuzz.h"
#include "streams/BlocParametresBase.h"
#include "streams/Registre.h"
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

}  // namespace

void Streams() {
  SemencesArchivageEtSauvegarde();
  SemencesCoderValeur();
  SemencesFluxBase();
}

}  // namespace Semences
