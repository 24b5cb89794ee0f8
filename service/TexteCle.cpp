#include "service/TexteCle.h"

std::string TexteCle(std::string_view cle) { return std::string(cle); }
