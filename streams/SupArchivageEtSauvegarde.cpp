#include "streams/SupArchivageEtSauvegarde.h"

#include <cmath>

#include "core/serial/Serialisation.h"
#include "net/NetBases.h"
#include "objectdb/Traduction.h"

namespace SupArchivageEtSauvegarde {

namespace {

const TDateTime kHuitHeures = 8.0 / 24.0;

// Blanks and control characters off both ends, as the system trims its texts.
std::string Rogner(const std::string& Texte) {
  size_t debut = 0, fin = Texte.size();
  while (debut < fin && static_cast<unsigned char>(Texte[debut]) <= ' ') ++debut;
  while (fin > debut && static_cast<unsigned char>(Texte[fin - 1]) <= ' ') --fin;
  return Texte.substr(debut, fin - debut);
}

}  // namespace

void ParametresParDefaut(TypeArchivageEtSauvegarde& Parametres) {
  ParametresParDefaut(Parametres, NetBases::NomBase(), Traduction::Traduire("EcrArchivageEtSauvegardeRepSauvegarde"),
                      Traduction::Traduire("EcrArchivageEtSauvegardeRepArchive"));
}

void ParametresParDefaut(TypeArchivageEtSauvegarde& Parametres, const std::string& NomFichierBase,
                         const std::string& DossierSauvegarde, const std::string& DossierArchive) {
  // The base's name may come from the data server with either kind of separator.
  const size_t barre = NomFichierBase.find_last_of("\\/");
  const std::string dossier = barre == std::string::npos ? std::string() : NomFichierBase.substr(0, barre + 1);
  std::string nom = NomFichierBase.substr(dossier.size());
  if (const size_t point = nom.rfind('.'); point != std::string::npos) nom.erase(point);

  const TDateTime maintenant = DateTime::Now();
  TypeArchivageEtSauvegarde p;
  p.RepertoireSauvegarde = dossier + DossierSauvegarde + nom;
  p.ProchaineSauvegarde = maintenant + p.PeriodeSauvegarde / 24.0;
  p.HeureArchivage = kHuitHeures;
  p.RepertoireArchive = dossier + DossierArchive + nom;
  p.ProchainArchivage = std::floor(maintenant) + kHuitHeures;
  if (p.ProchainArchivage <= maintenant) p.ProchainArchivage += 1;
  Parametres = std::move(p);
}

void Lire(TStream& Flux, TypeArchivageEtSauvegarde& Parametres) {
  TBinaryFormatterWithSize f(&Flux);
  f.ModeStrict = true;
  TypeArchivageEtSauvegarde p;
  f.LireBooleen(p.SauvegardeActive);
  f.LireEntier(p.PeriodeSauvegarde);
  f.LireChaine(p.RepertoireSauvegarde);
  f.LireDouble(p.ProchaineSauvegarde);
  f.LireBooleen(p.ArchivageActif);
  f.LireDouble(p.HeureArchivage);
  f.LireEntier(p.NombreArchives);
  f.LireChaine(p.RepertoireArchive);
  f.LireDouble(p.ProchainArchivage);
  if (p.PeriodeSauvegarde == 0) p.PeriodeSauvegarde = 1;
  p.RepertoireSauvegarde = Rogner(p.RepertoireSauvegarde);
  p.RepertoireArchive = Rogner(p.RepertoireArchive);
  Parametres = std::move(p);
}

void Ecrire(TStream& Flux, const TypeArchivageEtSauvegarde& Parametres) {
  TBinaryFormatterWithSize f(&Flux);
  f.ModeStrict = true;
  f.EcrireBooleen(Parametres.SauvegardeActive);
  f.EcrireEntier(Parametres.PeriodeSauvegarde);
  f.EcrireChaine(Rogner(Parametres.RepertoireSauvegarde));
  f.EcrireDouble(Parametres.ProchaineSauvegarde);
  f.EcrireBooleen(Parametres.ArchivageActif);
  f.EcrireDouble(Parametres.HeureArchivage);
  f.EcrireEntier(Parametres.NombreArchives);
  f.EcrireChaine(Rogner(Parametres.RepertoireArchive));
  f.EcrireDouble(Parametres.ProchainArchivage);
}

}  // namespace SupArchivageEtSauvegarde
