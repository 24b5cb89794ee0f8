#include "objectdb/bases/Base.h"

#include "core/objects/Exceptions.h"

NV_DEFINE_CLASS(TBase, TObjetAbonnant)

void TBase::TexteResume(std::string& /*Texte*/) { throw ENonConstruit("TBase.TexteResume: bases are not built yet"); }
