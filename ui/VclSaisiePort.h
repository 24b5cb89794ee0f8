// The one entry routine for a port: a number or a service name of the platform's service database,
// checked against the ranges of ports (1 to 49151 reserved, 49152 to 65535 free) with a message for
// a reserved port, an unknown service or an invalid port. Main thread only.
#pragma once

#include <cstdint>
#include <string>

#include "ui/Saisies.h"

namespace VclSaisiePort {

// Answers of AnalyserPort.
enum : uint8_t { kPortLibre = 0, kServiceNonTrouve = 1, kPortInvalide = 2, kPortReserve = 3 };
// Protocols of SaisirPort.
enum : uint8_t { kUdp = 0, kTcp = 1 };

// Classifies Texte. A decimal number (digits with an optional sign, of any length) is the port
// itself, saturated to 64 bits; any other text is a service name looked up for Protocole (when not
// empty), then for NumeroProtocole written in decimal (when not 0): kServiceNonTrouve when neither
// knows it. Port then holds the port, classified: 1 to 49151 kPortReserve, 49152 to 65535
// kPortLibre, anything else kPortInvalide.
uint8_t AnalyserPort(const std::string& Texte, const std::string& Protocole, int32_t NumeroProtocole, int64_t& Port);

// Opens an entry of at most 30 characters (digits only unless TexteLibre), in a list cell when
// DansCellule, else over Rect of Parent, starting from Texte. Not validated: false. Validated: the
// blanks are removed from Texte and it is classified, with a message for an unknown service
// (true: the caller stores the text), an invalid port (false: the caller keeps its value) or a
// reserved port (true); a free port answers true silently.
bool SaisirPort(std::string& Texte, uint8_t Protocole, TWinControl* Parent, bool DansCellule, int32_t Colonne,
                int32_t Ligne, const TRect& Rect, TypeToucheDeValidation& ToucheFinale, bool TexteLibre);
// The same over Rect of Parent.
bool SaisirPortDansZone(std::string& Texte, uint8_t Protocole, TWinControl* Parent, const TRect& Rect,
                        TypeToucheDeValidation& ToucheFinale, bool TexteLibre);

}  // namespace VclSaisiePort
