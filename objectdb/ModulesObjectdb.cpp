#include "objectdb/ModulesObjectdb.h"

#include "objectdb/durations/ArrayOfDuree.h"
#include "objectdb/parameters/CustomParametre.h"
#include "objectdb/parameters/ParametreBooleen.h"
#include "objectdb/parameters/ParametreCardinal.h"
#include "objectdb/parameters/ParametreDouble.h"
#include "objectdb/parameters/ParametreDuree.h"
#include "objectdb/parameters/ParametreInt64.h"
#include "objectdb/parameters/ParametreInteger.h"
#include "objectdb/parameters/ParametreInterface.h"
#include "objectdb/parameters/ParametreObject.h"
#include "objectdb/parameters/ParametreReal.h"
#include "objectdb/parameters/ParametreReferenceArticle.h"
#include "objectdb/parameters/ParametreSingle.h"
#include "objectdb/parameters/ParametreString.h"
#include "objectdb/parameters/ParametreTDateTime.h"
#include "objectdb/parameters/ParametreWideString.h"
#include "objectdb/properties/ProprietePubliee.h"
#include "objectdb/arrays/TableauIndices.h"

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
