// Installing, removing, querying and listing the program family's services, through the host's
// service manager (platform/service/Systemd.h; a test puts its own root in place). A service's
// login never stands on its command line, which every user can read: it goes to a file of its own
// that only the service's account reads, and the command names that file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "service/ServiceNTNorvane.h"

namespace ServiceControlManager {

// Registers the unit's resource strings (the texts of the services' states).
void Initialiser();

// Writes the service: the program Programme, the start parameters' words except the last (the base
// name), the switch "-svc", and the last word of the parameters (the encoded login) in the login
// file. Refused when the program already runs as a service, or the service exists.
[[nodiscard]] bool CreerService(const TServiceNTNorvane& Service, const std::string& Programme);
[[nodiscard]] bool SupprimerService(const TServiceNTNorvane& Service);
[[nodiscard]] bool SupprimerServiceNomme(const std::string& Nom);
// 0 not installed, 1 stopped, 4 running.
uint32_t EtatService(const TServiceNTNorvane& Service);
uint32_t EtatServiceNomme(const std::string& Nom);
// The family's services: display name beginning with "Norvane -"; with FiltreAffiche, containing it
// too (case-sensitive); with FiltreChemin, whose program path, lower-cased, starts with it
// lower-cased (or with it in double quotes). True when one was listed.
bool ListerServices(std::vector<std::string>& Noms, std::vector<std::string>& NomsAffiches,
                    const std::string& FiltreAffiche = {}, const std::string& FiltreChemin = {});
bool ServicesPresents(const std::string& FiltreAffiche = {}, const std::string& FiltreChemin = {});
// Removes every listed service and returns the report, one line per service (CRLF between them):
// its state afterwards in words. Empty when none was listed.
std::string SupprimerServices(const std::string& FiltreAffiche);
// The text of a state (a resource string), the display name in place of "%s".
std::string TexteEtat(uint32_t Etat, const std::string& NomAffiche);

// The words of start parameters: blanks separate, double quotes group.
std::vector<std::string> Mots(const std::string& Parametres);

}  // namespace ServiceControlManager
