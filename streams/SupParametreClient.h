// The data server's address and TCP port that the data client keeps in the registry, under the
// registry object's key followed by "\Connexion", in both the machine and the user hives. Each
// save stamps the hives with "Derniere Sauvegarde"; a read takes the values of the hive saved last,
// the machine hive winning a tie.
#pragma once

#include <string>

#include "core/values/DateTime.h"
#include "net/VclClient.h"
#include "streams/VCLRegis.h"

namespace SupParametreClient {

struct TypeParametresConnexion {
  std::string AdresseIpServeur;
  std::string PortTcpServeur;
};

// Reads the settings into Parametres, whose values are the defaults of both hives.
void LireParametresConnexion(TypeParametresConnexion& Parametres, TRegistre& Registre);
// Writes "Derniere Sauvegarde" (now), then the address and the port, each to the user hive and then
// to the machine hive.
void SauverParametresConnexion(const TypeParametresConnexion& Parametres, TRegistre& Registre);

// The same with the data client's own settings.
void LireParametresConnexion(TIeClient& Client, TRegistre& Registre);
void SauverParametresConnexion(TIeClient& Client, TRegistre& Registre);

// The date of a "Derniere Sauvegarde" text ("dd/MM/yyyy hh:mm:ss"; one-digit day, month and time
// parts are read too). A text that is not such a date gives the default date, 5 February 2007.
TDateTime DateSauvegarde(const std::string& Texte);
std::string TexteSauvegarde(TDateTime Date);

}  // namespace SupParametreClient
