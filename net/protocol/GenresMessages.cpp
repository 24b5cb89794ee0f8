#include "net/protocol/GenresMessages.h"

#include <algorithm>

namespace GenresMessages {

namespace {
constexpr TypeGenreMessage kGenres[] = {
    {CM_RECHERCHER_SERVEURS, "CM_RECHERCHER_SERVEURS", false, 0, 0, 12},
    {CM_SIGNALER_PRESENCE, "CM_SIGNALER_PRESENCE", true, 0, 0, kJamaisEnvoye},
    {CM_DEMANDER_HOST, "CM_DEMANDER_HOST", true, 0, 0, 0},
    {CM_ENVOYER_HOST, "CM_ENVOYER_HOST", true, 33, 361, 305},
    {CM_ENVOYER_MESSAGE, "CM_ENVOYER_MESSAGE", true, 288, 288, kJamaisEnvoye},
    {CM_DEMANDER_INFOS_UTILISATEURS, "CM_DEMANDER_INFOS_UTILISATEURS", false, 0, 0, 0},
    {CM_ENVOYER_UTILISATEUR, "CM_ENVOYER_UTILISATEUR", true, 0, kToutes, kJamaisEnvoye},
    {CM_FIN_ENVOI_INFOS_UTILISATEURS, "CM_FIN_ENVOI_INFOS_UTILISATEURS", true, 0, 0, kJamaisEnvoye},
    {CM_ENVOYER_LOGIN, "CM_ENVOYER_LOGIN", false, 0, 0, 8},
    {CM_FIN_LOGIN, "CM_FIN_LOGIN", false, 0, 0, 0},
    {CM_REPONDRE_LOGIN, "CM_REPONDRE_LOGIN", true, 2, 2, kJamaisEnvoye},
    {CM_DEMANDER_IDENTIFICATION, "CM_DEMANDER_IDENTIFICATION", false, 0, 0, 56},
    {CM_REPONDRE_IDENTIFICATION, "CM_REPONDRE_IDENTIFICATION", true, 39, 539, kJamaisEnvoye},
    {CM_DEMANDER_AUTHENTIFICATION, "CM_DEMANDER_AUTHENTIFICATION", false, 0, 0, 88},
    {CM_REPONDRE_AUTHENTIFICATION, "CM_REPONDRE_AUTHENTIFICATION", true, 59, 559, kJamaisEnvoye},
    {CM_DEMANDER_STREAM, "CM_DEMANDER_STREAM", true, 1, 1, 1},
    {CM_STREAM_PRET, "CM_STREAM_PRET", true, 8, 8, 8},
    {CM_STREAM_REFUSE, "CM_STREAM_REFUSE", true, 8, 8, 8},
    {CM_DEMANDER_STREAM_SUIVANT, "CM_DEMANDER_STREAM_SUIVANT", true, 12, 12, 12},
    {CM_ENVOYER_STREAM, "CM_ENVOYER_STREAM", true, 4108, 4108, 4108},
    {CM_STREAM_BIEN_RECU, "CM_STREAM_BIEN_RECU", true, 1, 1, 1},
    {CM_REPONDRE_DEM_MODE_EXCLUSIF, "CM_REPONDRE_DEM_MODE_EXCLUSIF", true, 1, 1, kJamaisEnvoye},
    {CM_REPONDRE_LIB_MODE_EXCLUSIF, "CM_REPONDRE_LIB_MODE_EXCLUSIF", true, 1, 1, kJamaisEnvoye},
    {CM_MODE_EXCLUSIF_MODIFIE, "CM_MODE_EXCLUSIF_MODIFIE", true, 212, 212, kJamaisEnvoye},
    {CM_VERROU_MODE_EXCLUSIF_MODIFIE, "CM_VERROU_MODE_EXCLUSIF_MODIFIE", true, 2, 2, kJamaisEnvoye},
    {CM_ENVOYER_REQUETE, "CM_ENVOYER_REQUETE", true, 19, kToutes, kEnvoiVariable /* 19 + argument */},
    {CM_REPONDRE_REQUETE, "CM_REPONDRE_REQUETE", true, 0, kToutes, kEnvoiVariable},
    {CM_ENVOYER_OrdreReseau, "CM_ENVOYER_OrdreReseau", true, 52, kToutes, kEnvoiVariable /* 52 + argument */},
    {CM_REPONDRE_OrdreReseau, "CM_REPONDRE_OrdreReseau", true, 45, kToutes, kEnvoiVariable /* 45 + argument */},
    {CM_DEBUT_REQUETE, "CM_DEBUT_REQUETE", true, 0, 0, kJamaisEnvoye},
    {CM_FIN_REQUETE, "CM_FIN_REQUETE", true, 0, 0, kJamaisEnvoye},
    {CM_ENVOYER_ETAT_BASE, "CM_ENVOYER_ETAT_BASE", false, 0, 0, 1},
    {CM_ENVOYER_ORDRE_MODIF, "CM_ENVOYER_ORDRE_MODIF", true, 0, kToutes, kJamaisEnvoye},
    {CM_ENVOYER_ORDRES_MODIFS, "CM_ENVOYER_ORDRES_MODIFS", true, 0, kToutes, kJamaisEnvoye},
    {CM_ENVOYER_ORDRE_MODIF_UTIL, "CM_ENVOYER_ORDRE_MODIF_UTIL", true, 0, kToutes, kJamaisEnvoye},
    {CM_REPONDRE_ORDRE_UTIL, "CM_REPONDRE_ORDRE_UTIL", true, 5, 5, kJamaisEnvoye},
    {CM_DECONNEXION, "CM_DECONNEXION", true, 16, 16, 16},
    {CM_RECONNEXION, "CM_RECONNEXION", true, 0, 0, kJamaisEnvoye},
    {CM_REPONDRE_TRAITEMENT_LONG, "CM_REPONDRE_TRAITEMENT_LONG", true, 1, 1, kJamaisEnvoye},
    {CM_TRAITEMENT_LONG_MODIFIE, "CM_TRAITEMENT_LONG_MODIFIE", true, 202, 202, kJamaisEnvoye},
    {CM_DEMANDER_PROFILS_SRV, "CM_DEMANDER_PROFILS_SRV", false, 0, 0, 0},
    {CM_ENVOYER_PROFIL_SRV, "CM_ENVOYER_PROFIL_SRV", true, 640, 640, kJamaisEnvoye},
    {CM_FIN_ENVOI_PROFILS_SRV, "CM_FIN_ENVOI_PROFILS_SRV", true, 0, 0, kJamaisEnvoye},
    {CM_ENVOYER_PROFIL_UTIL, "CM_ENVOYER_PROFIL_UTIL", true, 0, kToutes, kJamaisEnvoye},
    {CM_ENVOYER_AFFECTATION_UTIL, "CM_ENVOYER_AFFECTATION_UTIL", true, 20, 20, kJamaisEnvoye},
    {CM_ENVOYER_INFOS_VERSION, "CM_ENVOYER_INFOS_VERSION", true, 272, 272, kJamaisEnvoye},
    {CM_ENVOYER_IDENT_CONNEXION, "CM_ENVOYER_IDENT_CONNEXION", true, 8, 8, kJamaisEnvoye},
};
}  // namespace

std::span<const TypeGenreMessage> Tous() { return kGenres; }

const TypeGenreMessage* Genre(uint32_t Id) {
  auto it = std::lower_bound(std::begin(kGenres), std::end(kGenres), Id,
                             [](const TypeGenreMessage& g, uint32_t id) { return g.Id < id; });
  return it != std::end(kGenres) && it->Id == Id ? it : nullptr;
}

}  // namespace GenresMessages
