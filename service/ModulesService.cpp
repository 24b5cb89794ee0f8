#include "service/ModulesService.h"

#include "service/ApplicationServiceWeb.h"

std::span<const TModule> ModulesService() {
  static const TModule modules[] = {
      {"ApplicationServiceWeb", ApplicationServiceWeb::Initialiser, nullptr},
  };
  return modules;
}
