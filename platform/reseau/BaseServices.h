// The platform's service database: the port of a service name for a protocol ("http" over "tcp"
// is 80). The system's own database (the services file, read through the C library) answers by
// default; a test installs a database of its own. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace BaseServices {

// A database: the port of Nom for Protocole, in network byte order as the platform gives it;
// nothing when the name is unknown for that protocol.
using TypeBaseServices = std::function<std::optional<uint16_t>(const std::string& Nom, const std::string& Protocole)>;

// Installs a database; an empty one restores the system's.
void Definir(TypeBaseServices Base);
// Looks Nom up for Protocole in the installed database.
std::optional<uint16_t> Chercher(const std::string& Nom, const std::string& Protocole);
// The system's database.
std::optional<uint16_t> ChercherSysteme(const std::string& Nom, const std::string& Protocole);

}  // namespace BaseServices
