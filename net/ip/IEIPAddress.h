// An IPv4 address (family 2) held in network byte order, with the parsing of the classic dotted
// forms ("a.b.c.d", and the shorthands "a.b.c", "a.b" and "a" whose last part fills the remaining
// bytes; parts in decimal, octal with a leading 0, or hexadecimal with 0x).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class TErreur;

class TIPAddress {
 public:
  static constexpr int32_t kFamilleInternet = 2;

  explicit TIPAddress(uint32_t Adresse) : Adresse(Adresse) {}

  static std::unique_ptr<TIPAddress> Any();        // 0.0.0.0
  static std::unique_ptr<TIPAddress> Loopback();   // 127.0.0.1
  static std::unique_ptr<TIPAddress> Broadcast();  // 255.255.255.255
  // Every blank removed, then "255.255.255.255" gives the broadcast address and any other text goes
  // through the dotted-address parser; nil when the text is not an address (including the other
  // spellings of 255.255.255.255, which that parser cannot tell from a failure).
  static std::unique_ptr<TIPAddress> Parse(const std::string& Texte);
  // Nil when Parse succeeds; otherwise a new error (the collector's) whose message names the text.
  static TErreur* TryParse(const std::string& Texte);
  // The dotted form.
  std::string ToString() const;
  static uint16_t HostToNetworkOrder(uint16_t Valeur);
  static uint16_t NetworkToHostOrder(uint16_t Valeur);

  int32_t Famille = kFamilleInternet;
  uint32_t Adresse;  // network byte order: the first byte in memory is the first dotted part
};
