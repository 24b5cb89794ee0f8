#include "service/ServiceControlManager.h"

#include "core/values/Ansi1252.h"
#include "core/values/ChaineRessource.h"
#include "platform/service/Systemd.h"

namespace ServiceControlManager {
namespace {

std::string Minuscules(std::string Texte) {
  for (char& c : Texte)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return Texte;
}

}  // namespace

std::vector<std::string> Mots(const std::string& Parametres) {
  std::vector<std::string> mots;
  size_t i = 0;
  while (i < Parametres.size()) {
    if (Parametres[i] == ' ') {
      ++i;
      continue;
    }
    std::string mot;
    bool guillemets = false;
    for (; i < Parametres.size() && (guillemets || Parametres[i] != ' '); ++i) {
      if (Parametres[i] == '"') guillemets = !guillemets;
      else mot += Parametres[i];
    }
    mots.push_back(std::move(mot));
  }
  return mots;
}

bool CreerService(const TServiceNTNorvane& Service, const std::string& Programme) {
  if (Service.ModeService || Service.Nom.empty()) return false;
  TDefinitionUnite unite;
  unite.Nom = Service.Nom;
  unite.NomAffiche = Service.NomAffiche;
  unite.Description = Service.Description;
  unite.Commande.push_back(Programme);
  std::vector<std::string> mots = Mots(Service.Parametres);
  if (mots.size() >= 2) {
    unite.Login = mots.back();
    mots.pop_back();
  }
  for (auto& m : mots) unite.Commande.push_back(std::move(m));
  unite.Commande.push_back("-svc");
  return Systemd::Gestionnaire().Creer(unite);
}

bool SupprimerServiceNomme(const std::string& Nom) { return Systemd::Gestionnaire().Supprimer(Nom); }
bool SupprimerService(const TServiceNTNorvane& Service) { return SupprimerServiceNomme(Service.Nom); }
uint32_t EtatServiceNomme(const std::string& Nom) { return Systemd::Gestionnaire().Etat(Nom); }
uint32_t EtatService(const TServiceNTNorvane& Service) { return EtatServiceNomme(Service.Nom); }

bool ListerServices(std::vector<std::string>& Noms, std::vector<std::string>& NomsAffiches,
                    const std::string& FiltreAffiche, const std::string& FiltreChemin) {
  bool trouve = false;
  const std::string chemin = Minuscules(FiltreChemin);
  for (const auto& u : Systemd::Gestionnaire().Lister()) {
    if (u.NomAffiche.rfind("Norvane -", 0) != 0) continue;
    if (!FiltreAffiche.empty() && u.NomAffiche.find(FiltreAffiche) == std::string::npos) continue;
    if (!FiltreChemin.empty()) {
      const std::string commande = Minuscules(u.Commande);
      if (commande.rfind(chemin, 0) != 0 && commande.rfind("\"" + chemin, 0) != 0) continue;
    }
    Noms.push_back(u.Nom);
    NomsAffiches.push_back(u.NomAffiche);
    trouve = true;
  }
  return trouve;
}

bool ServicesPresents(const std::string& FiltreAffiche, const std::string& FiltreChemin) {
  std::vector<std::string> noms, affiches;
  return ListerServices(noms, affiches, FiltreAffiche, FiltreChemin);
}

const TChaineRessource RS_NTServiceEstSupprime{
    "ServiceControlManager_RS_NTServiceEstSupprime", 65200,
    "Le service %s a été supprimé, il n'est plus enregistré comme service NT ..."_ansi};
const TChaineRessource RS_NTServiceEstArrete{
    "ServiceControlManager_RS_NTServiceEstArrete", 65201,
    "Le service %s est arrêté, vous devez fermer le gestionnaire des services Windows et recommencer l'opération ou redémarrer Windows."_ansi};
const TChaineRessource RS_NTServiceDemarre{"ServiceControlManager_RS_NTServiceDemarre", 65202,
                                           "Le service %s est en cours de démarrage ..."_ansi};
const TChaineRessource RS_NTServiceSArrete{"ServiceControlManager_RS_NTServiceSArrete", 65203,
                                           "Le service %s est en cours d'arrêt ..."_ansi};
const TChaineRessource RS_NTServiceEstDemarre{"ServiceControlManager_RS_NTServiceEstDemarre", 65204,
                                              "Le service %s est lancé ..."_ansi};
const TChaineRessource RS_NTServiceReDemarre{"ServiceControlManager_RS_NTServiceReDemarre", 65205,
                                             "Le service %s est en cours de redémarrage ..."_ansi};
const TChaineRessource RS_NTServiceVaEtreSuspendu{"ServiceControlManager_RS_NTServiceVaEtreSuspendu", 65206,
                                                  "Le service %s va être suspendu ..."_ansi};
const TChaineRessource RS_NTServiceEstSuspendu{"ServiceControlManager_RS_NTServiceEstSuspendu", 65207,
                                               "Le service %s est suspendu ..."_ansi};

void Initialiser() {
  static const TChaineRessource* const kChaines[] = {
      &RS_NTServiceEstSupprime, &RS_NTServiceEstArrete,   &RS_NTServiceDemarre,        &RS_NTServiceSArrete,
      &RS_NTServiceEstDemarre,  &RS_NTServiceReDemarre, &RS_NTServiceVaEtreSuspendu, &RS_NTServiceEstSuspendu};
  ChaineRessource::Enregistrer(kChaines);
}

std::string TexteEtat(uint32_t Etat, const std::string& NomAffiche) {
  static const TChaineRessource* const textes[] = {
      &RS_NTServiceEstSupprime, &RS_NTServiceEstArrete,   &RS_NTServiceDemarre,        &RS_NTServiceSArrete,
      &RS_NTServiceEstDemarre,  &RS_NTServiceReDemarre, &RS_NTServiceVaEtreSuspendu, &RS_NTServiceEstSuspendu};
  if (Etat >= std::size(textes)) return {};
  return ChaineRessource::ChargerFormate(*textes[Etat], {NomAffiche});
}

std::string SupprimerServices(const std::string& FiltreAffiche) {
  std::vector<std::string> noms, affiches;
  std::string rapport;
  if (!ListerServices(noms, affiches, FiltreAffiche)) return rapport;
  for (size_t i = 0; i < noms.size(); ++i) {
    (void)SupprimerServiceNomme(noms[i]);
    if (!rapport.empty()) rapport += "\r\n";
    rapport += TexteEtat(EtatServiceNomme(noms[i]), affiches[i]);
  }
  return rapport;
}

}  // namespace ServiceControlManager
