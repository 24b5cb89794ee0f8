#include "service/ModulesService.h"

#include "platform/ui/VclDialogue.h"
#include "service/ApplicationNorvane.h"
#include "service/ApplicationServiceWeb.h"
#include "service/EcrSvcWPrincipal.h"
#include "service/LigneCommande.h"
#include "service/ServiceControlManager.h"

std::span<const TModule> ModulesService() {
  // The message dialog belongs to the platform layer, which has no table of its own: its resource
  // strings are registered with those of the program that shows the messages.
  static const TModule modules[] = {
      {"VclDialogue", VclDialogue::Initialiser, nullptr},
      {"ServiceControlManager", ServiceControlManager::Initialiser, nullptr},
      {"ApplicationCommuneNorvane", ApplicationCommuneNorvane::Initialiser, nullptr},
      {"EcrSvcWPrincipal", EcrSvcWPrincipal::Initialiser, nullptr},
      {"LigneCommande", LigneCommande::Initialiser, nullptr},
      {"ApplicationServiceWeb", ApplicationServiceWeb::Initialiser, nullptr},
  };
  return modules;
}
