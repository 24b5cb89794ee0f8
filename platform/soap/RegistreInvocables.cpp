#include "platform/soap/RegistreInvocables.h"

#include <algorithm>

const OperationSoap* InterfaceInvocable::Operation(std::string_view nom) const {
  for (const auto& op : Operations)
    if (op.Nom == nom) return &op;
  return nullptr;
}

void TRegistreInvocables::Enregistrer(InterfaceInvocable interface) {
  if (ParNom(interface.Nom) || ParNamespace(interface.Namespace))
    throw ESoapError("Interface registered twice: " + interface.Nom);
  interfaces_.push_back(std::move(interface));
}

void TRegistreInvocables::DesenregistrerClasse(std::string_view interface) {
  for (auto& i : interfaces_)
    if (i.Nom == interface) {
      i.NomClasse.clear();
      i.Fabrique = nullptr;
    }
}

void TRegistreInvocables::Desenregistrer(std::string_view interface) {
  std::erase_if(interfaces_, [&](const InterfaceInvocable& i) { return i.Nom == interface; });
}

const InterfaceInvocable* TRegistreInvocables::ParNamespace(std::string_view ns) const {
  for (const auto& i : interfaces_)
    if (i.Namespace == ns) return &i;
  return nullptr;
}

const InterfaceInvocable* TRegistreInvocables::ParNom(std::string_view nom) const {
  for (const auto& i : interfaces_)
    if (i.Nom == nom) return &i;
  return nullptr;
}

TRegistreInvocables& RegistreInvocables() {
  static TRegistreInvocables registre;
  return registre;
}

namespace soap_detail {

void VerifierSignature(const std::string& operation, size_t attendus, size_t donnes) {
  if (attendus != donnes)
    throw ESoapError("Operation " + operation + ": " + std::to_string(donnes) + " parameters described for " +
                     std::to_string(attendus));
}

void RefuserType(const std::string& operation, const std::string& quoi) {
  throw ESoapError("Operation " + operation + ": the registered type of " + quoi + " does not fit its C++ type");
}

}  // namespace soap_detail
