#include "service/ServiceNTNorvane.h"

#include "core/values/ChaineUnicode.h"
#include "platform/service/Systemd.h"
#include "service/Noyau.h"

namespace {
// A status is one line.
std::string UneLigne(std::string Texte) {
  for (char& c : Texte)
    if (c == '\r' || c == '\n') c = ' ';
  return ChaineUnicode::VersUTF8(Texte, 1252);
}
}  // namespace

void TServiceNTNorvane::DeterminerMode() {
  ModeService = !(Nom.empty() && NomAffiche.empty()) && Noyau::Commutateur("svc");
}

void TServiceNTNorvane::Notifier(const std::string& Texte) {
  derniere_ = Texte;
  Systemd::Notifier(Texte);
}

void TServiceNTNorvane::SignalerPret(const std::string& Statut) {
  if (ModeService) Notifier("READY=1\nSTATUS=" + UneLigne(Statut));
}

void TServiceNTNorvane::SignalerStatut(const std::string& Statut) {
  if (ModeService) Notifier("STATUS=" + UneLigne(Statut));
}

void TServiceNTNorvane::TraiterControle(uint32_t Controle) {
  if (Controle != 1 || Arrete) return;
  if (ModeService) Notifier("STOPPING=1");
  Arrete = true;
}

void TServiceNTNorvane::Arreter() {
  if (!Arrete) TraiterControle(1);
}
