// The service host: whether the program runs as a service, and what it tells the service manager.
// On Linux the service is a systemd unit of type notify: the program says it is ready (and what it
// waits for) through the notify socket, systemd stops it with SIGTERM (which ends the main loop),
// and on its way out it says it is stopping. Outside systemd (no NOTIFY_SOCKET) the notifications
// go nowhere and the program runs the same.
#pragma once

#include <cstdint>
#include <string>

class TServiceNTNorvane {
 public:
  std::string Nom;         // the service (unit) name
  std::string NomAffiche;  // the display name
  std::string Description;
  std::string Parametres;  // the start parameters: blank-separated words, "..." quoting one word
  bool Arrete = false;     // the stop has been reported
  bool ModeService = false;

  // Service mode when the service has a name and the command line holds the switch "svc".
  void DeterminerMode();
  // Start-up done: ready, with the text of what the service is doing (systemd's STATUS=).
  void SignalerPret(const std::string& Statut);
  // A new status text while running.
  void SignalerStatut(const std::string& Statut);
  // The control handler's work: 1 (stop) reports the stop once; any other control does nothing.
  void TraiterControle(uint32_t Controle);
  // At the end of the run: reports the stop when not yet done.
  void Arreter();

  // The last notification sent (for the program's own log and tests), empty before the first.
  const std::string& DerniereNotification() const { return derniere_; }

 private:
  void Notifier(const std::string& Texte);

  std::string derniere_;
};
