#include "objectdb/Traduction.h"

#include "core/objects/Exceptions.h"

namespace Traduction {

void TraduireCle(const std::string& Cle, std::string&) { throw ENotBuiltYet("Traduction.TraduireCle (\"" + Cle + "\")"); }

}  // namespace Traduction
