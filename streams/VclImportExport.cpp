#include "streams/VclImportExport.h"

#include <cstring>
#include <vector>

#include "base/SupFichiers.h"
#include "base/SupParam.h"
#include "base/cours/SupVisibiliteCours.h"
#include "core/diagnostics/Trace.h"
#include "core/records/Xi.h"
#include "core/serial/Serialisation.h"
#include "net/NetBases.h"
#include "net/NetXi.h"
#include "streams/BlocParametresBase.h"
#include "streams/ParametresBase.h"
#include "streams/SupToutesTables.h"

namespace VclImportExport {

namespace {
constexpr int32_t kTailleNom = 256;

void Tracer(const std::string& Texte) {
  std::string ligne;
  Trace::TraceurParDefaut()->Tracer(Texte, ligne);
}

// The stored size of a file in the current layout, the one the export always writes.
uint32_t TailleCourante(const TFichierSup& f) { return f.Description().Dispositions.back().Taille; }
}  // namespace

std::function<void(int32_t, int32_t, int32_t)>& SurProgression() {
  static std::function<void(int32_t, int32_t, int32_t)> evenement;
  return evenement;
}

int32_t& EnregistrementsRefuses() {
  static int32_t nombre = 0;
  return nombre;
}

void ImporterBase(TStream& Flux) {
  // Every value is installed locally while the base is read: nothing goes to the server.
  TParametresBase* parametres = ParametresBase::Parametres();
  struct Chargement {
    TParametresBase* p;
    explicit Chargement(TParametresBase* x) : p(x) {
      if (p != nullptr) p->DefinirChargement(true);
    }
    ~Chargement() {
      if (p != nullptr) p->DefinirChargement(false);
    }
  } chargement(parametres);
  // The readers move a base stored with another grid to the loaded grid while the base is imported.
  struct Import {
    Import() { SupFichiers::ImportEnCours() = true; }
    ~Import() { SupFichiers::ImportEnCours() = false; }
  } import;
  EnregistrementsRefuses() = 0;
  SupParam::InitialiserParametresParDefaut();
  uint8_t nom[kTailleNom] = {};
  Flux.ReadBuffer(nom, kTailleNom);
  // The full name: the default backup and archive folders are beside the base.
  NetBases::NomBase().assign(reinterpret_cast<const char*>(nom + 1), nom[0]);

  TBinaryFormatterWithSize formateur(&Flux);
  TMemoryStream travail;
  formateur.LireFlux(&travail);
  travail.SetPosition(0);
  BlocParametresBase::LireBlocParametresBase(travail);
  // A file stored in a layout that is known but not read would load misaligned records.
  if (const TFichierSup* illisible = SupFichiers::FichierIllisible())
    throw EReadError("ImporterBase: the records of " + std::string(illisible->Description().Extension) +
                     " in a base of version " + SupFichiers::TexteVersion(SupFichiers::VersionBase()) +
                     " are not read");

  if (!SupToutesTables::CreerToutesLesTables())
    throw EReadError("ImporterBase: the tables of the base could not be created");
  SupFichiers::EnregistrerTousLesFichiers();
  for (int32_t i = 0; i < SupFichiers::kNombreFichiers; ++i) {
    if (SurProgression()) SurProgression()(0, SupFichiers::kNombreFichiers - 1, i);
    travail.Clear();
    formateur.LireFlux(&travail);
    travail.SetPosition(0);
    TypeTableReseau* entree = NetXi::Table(SupFichiers::NumerosTables()[static_cast<std::size_t>(i)]);
    TFichierSup* fichier = SupFichiers::Fichier(i + 1);
    if (entree == nullptr || fichier == nullptr) continue;
    const uint32_t s = entree->TailleStockee;
    const std::vector<uint8_t> marqueur(s, 0xFF);
    if (travail.Read(entree->Tampon, s) != static_cast<int64_t>(s)) continue;
    for (int32_t b = 1; travail.Remaining() >= static_cast<int64_t>(s); ++b) {
      travail.ReadBuffer(entree->Tampon, s);
      if (std::memcmp(entree->Tampon, marqueur.data(), s) == 0) continue;
      const int32_t identifiant = b * static_cast<int32_t>(s);
      if (entree->LireArticleStocke(entree->Tampon, fichier->Table, identifiant, GM_Creation) &&
          Xi::Inserer(fichier->Table))
        continue;
      ++EnregistrementsRefuses();
      Tracer("ImporterBase: record " + std::to_string(identifiant) + " of " + entree->Extension + " refused");
    }
  }
}

void ExporterBase(TMemoryStream& Flux) {
  TBinaryFormatterWithSize formateur(&Flux);
  TMemoryStream travail;
  BlocParametresBase::EcrireBlocParametresBase(travail);
  formateur.EcrireFlux(&travail);

  // Every identifier first: a record may refer to a record of its own file or of a later one. A
  // change the table refuses (a unique order whose real-number keys compare within their tolerance)
  // keeps the former identifier in memory; the record is still written at its place, and traced.
  for (int32_t p = 1; p <= SupFichiers::kNombreFichiers; ++p) {
    TFichierSup& f = *SupFichiers::Fichier(p);
    if (f.Table == nullptr) continue;
    const int32_t s = static_cast<int32_t>(TailleCourante(f));
    Xi::SauverPosition(f.Table);
    int32_t a = 1;
    for (bool encore = Xi::Premier(f.Table, 0); encore; encore = Xi::Suivant(f.Table, 0), ++a) {
      const int32_t identifiant = a * s;
      std::memcpy(f.Table, &identifiant, 4);
      if (!Xi::Modifier(f.Table))
        Tracer("ExporterBase: record " + std::to_string(Xi::NumeroCourant(f.Table)) + " of " +
                     f.Description().Extension + " kept its identifier (status " + std::to_string(Xi::XiStatut) +
                     ")");
    }
    Xi::RestaurerPosition(f.Table);
  }

  for (int32_t p = 1; p <= SupFichiers::kNombreFichiers; ++p) {
    TFichierSup& f = *SupFichiers::Fichier(p);
    const uint32_t s = TailleCourante(f);
    std::vector<uint8_t> tampon(s, 0xFF);
    travail.Clear();
    travail.WriteBuffer(tampon.data(), s);
    if (f.Table != nullptr) {
      Xi::SauverPosition(f.Table);
      for (bool encore = Xi::Premier(f.Table, 0); encore; encore = Xi::Suivant(f.Table, 0)) {
        std::memset(tampon.data(), 0, s);
        // A record whose converter finds a reference missing is written as filled, as the reader
        // then refuses it; the trace tells which.
        if (!f.EcrireArticleStocke(tampon.data(), f.IdentifiantCourant(), GM_Modification))
          Tracer("ExporterBase: record " + std::to_string(f.IdentifiantCourant()) + " of " +
                       f.Description().Extension + " incompletely written");
        travail.WriteBuffer(tampon.data(), s);
      }
      Xi::RestaurerPosition(f.Table);
    }
    formateur.EcrireFlux(&travail);
  }
}

void ImporterParametresUtilisateur(TStream& Flux) {
  TBinaryFormatterWithSize formateur(&Flux);
  TMemoryStream bloc;
  formateur.LireFlux(&bloc);
  if (bloc.Size() > 0) {
    bloc.SetPosition(0);
    NetXi::LireParametresUtilisateur()(&bloc);
  } else {
    NetXi::ParametresUtilisateurParDefaut()();
  }
  // The user's displayed period has arrived: every course's flag follows it.
  SupVisibiliteCours::ActualiserTousLesCours();
}

void ExporterParametresUtilisateur(TMemoryStream& Flux) {
  TMemoryStream bloc;
  NetXi::EcrireParametresUtilisateur()(&bloc);
  TBinaryFormatterWithSize formateur(&Flux);
  formateur.EcrireFlux(&bloc);
}

}  // namespace VclImportExport
