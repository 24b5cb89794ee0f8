#include "objectdb/ModulesObjectdb.h"

#include "objectdb/ArrayOfDuree.h"
#include "objectdb/CustomParametre.h"
#include "objectdb/ParametreBooleen.h"
#include "objectdb/ParametreCardinal.h"
#include "objectdb/ParametreDouble.h"
#include "objectdb/ParametreDuree.h"
#include "objectdb/ParametreInt64.h"
#include "objectdb/ParametreInteger.h"
#include "objectdb/ParametreInterface.h"
#include "objectdb/ParametreObject.h"
#include "objectdb/ParametreReal.h"
#include "objectdb/ParametreReferenceArticle.h"
#include "objectdb/ParametreSingle.h"
#include "objectdb/ParametreString.h"
#include "objectdb/ParametreTDateTime.h"
#include "objectdb/ParametreWideString.h"
#include "objectdb/ProprietePubliee.h"
#include "objectdb/TableauIndices.h"

std::span<const TModule> ModulesObjectdb() {
  static const TModule kTable[] = {
      {"ArrayOfDuree", ArrayOfDuree::Initialiser, nullptr},
      {"CustomParametre", CustomParametre::Initialiser, CustomParametre::Finaliser},
      {"ParametreBooleen", ParametreBooleen::Initialiser, nullptr},
      {"ParametreCardinal", ParametreCardinal::Initialiser, nullptr},
      {"ParametreInteger", ParametreInteger::Initialiser, nullptr},
      {"ParametreInt64", ParametreInt64::Initialiser, nullptr},
      {"ParametreDouble", ParametreDouble::Initialiser, nullptr},
      {"ParametreReal", ParametreReal::Initialiser, nullptr},
      {"ParametreSingle", ParametreSingle::Initialiser, nullptr},
      {"ParametreTDateTime", ParametreTDateTime::Initialiser, nullptr},
      {"ParametreDuree", ParametreDuree::Initialiser, nullptr},
      {"ParametreString", ParametreString::Initialiser, nullptr},
      {"ParametreWideString", ParametreWideString::Initialiser, nullptr},
      {"ParametreObject", ParametreObject::Initialiser, nullptr},
      {"ParametreInterface", ParametreInterface::Initialiser, nullptr},
      {"ParametreReferenceArticle", ParametreReferenceArticle::Initialiser, nullptr},
      {"ProprietePubliee", ProprietePubliee::Initialiser, nullptr},
      {"TableauIndices", TableauIndices::Initialiser, nullptr},
  };
  return kTable;
}
