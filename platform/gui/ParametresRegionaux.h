// The system's regional settings that the report library reads: the default locale's measurement
// entry ("0" metric, "1" the US system). Headless: the value is the platform's default ("0") until
// the program or a test sets it.
#pragma once

#include <string>

namespace ParametresRegionaux {

std::string MesureSysteme();
void DefinirMesureSysteme(std::string Valeur);

}  // namespace ParametresRegionaux
