// The host's service manager, as the service host and its control manager need it on Linux: the
// program runs as a systemd unit of type notify (stopped by SIGTERM, readiness and status sent to the
// socket that systemd names in NOTIFY_SOCKET), and installing, removing, querying and listing
// services write and read unit files. Everything above goes through IGestionnaireUnites, so that a
// test puts the units under a root of its own.
//
// No process is started for any of it: a state is read from the files that systemd keeps (a unit
// that runs has its invocation link under run/systemd/units), so the main window may ask on every
// idle pass. A unit written or removed is seen by systemd at its next reload ("systemctl
// daemon-reload", or a reboot, since installed units start at boot).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Systemd {

// Sends one notification ("READY=1", "STATUS=...", "STOPPING=1"; lines separated by "\n") to the
// socket named by NOTIFY_SOCKET (a path, or "@name" for the abstract namespace). False when the
// variable is absent or the datagram could not be sent. Texts are sent as they are (UTF-8).
bool Notifier(const std::string& Etat);
// Whether the program was started by the service manager as a unit of type notify (NOTIFY_SOCKET set).
bool SousGestionnaire();

}  // namespace Systemd

// What an installed service is.
struct TDefinitionUnite {
  std::string Nom;          // the unit's name, without ".service"
  std::string NomAffiche;   // its Description=
  std::string Description;  // the long description (X-Norvane-Description=)
  // The program and its arguments, one word each (quoted in the unit as systemd reads them back).
  std::vector<std::string> Commande;
  // The login: written to a file of the root readable by its owner alone (0600), whose path the
  // command names in place of the login; empty: no login file.
  std::string Login;
};

// The states the callers read: 0 not installed, 1 stopped, 4 running.
enum : uint32_t { kServiceAbsent = 0, kServiceArrete = 1, kServiceLance = 4 };

class IGestionnaireUnites {
 public:
  virtual ~IGestionnaireUnites() = default;
  // Writes the unit (and its login file), enabled to start at boot. False when it exists already or
  // a file cannot be written (nothing is left half-written).
  [[nodiscard]] virtual bool Creer(const TDefinitionUnite& Unite) = 0;
  // Removes the unit, its boot link and its login file; false when the unit does not exist.
  [[nodiscard]] virtual bool Supprimer(const std::string& Nom) = 0;
  virtual uint32_t Etat(const std::string& Nom) = 0;
  // Every installed unit that this manager can read: name, display name and its command line as
  // written (ExecStart=).
  struct TUniteListee {
    std::string Nom, NomAffiche, Commande;
  };
  virtual std::vector<TUniteListee> Lister() = 0;
  // Where the login file of a unit goes.
  virtual std::string FichierLogin(const std::string& Nom) const = 0;
};

// The units under Racine ("/" for the machine), each with a runtime folder of its own
// (RuntimeDirectory=, named after the unit, 0700) that systemd makes at start and names in
// RUNTIME_DIRECTORY: unit files in etc/systemd/system, boot links in
// etc/systemd/system/multi-user.target.wants, login files in etc/norvane, invocation links of running
// units in run/systemd/units.
class TUnitesSystemd final : public IGestionnaireUnites {
 public:
  explicit TUnitesSystemd(std::string Racine);

  bool Creer(const TDefinitionUnite& Unite) override;
  bool Supprimer(const std::string& Nom) override;
  uint32_t Etat(const std::string& Nom) override;
  std::vector<TUniteListee> Lister() override;
  std::string FichierLogin(const std::string& Nom) const override;

  // The unit file's text (UTF-8), as Creer writes it.
  static std::string TexteUnite(const TDefinitionUnite& Unite, const std::string& FichierLogin);
  // One word of an ExecStart= line, quoted so that systemd reads it back unchanged.
  static std::string MotCommande(const std::string& Mot);

 private:
  std::string FichierUnite(const std::string& Nom) const;

  std::string racine_;
};

namespace Systemd {
// The manager in use: the machine's units unless DefinirGestionnaire put another (nil goes back).
IGestionnaireUnites& Gestionnaire();
void DefinirGestionnaire(IGestionnaireUnites* Gestionnaire);
}  // namespace Systemd
