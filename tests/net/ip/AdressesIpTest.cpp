// IPv4 addresses and end points: parsing the dotted forms, the error of a bad text, the socket
// address, and the serialised end point.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>

#include "core/objects/Erreur.h"
#include "core/serial/Streams.h"
#include "net/ip/IEIPAddress.h"
#include "net/ip/IEIPEndPoint.h"

TEST(AdressesIp, ParsingTakesTheDottedFormsAndRefusesTheRest) {
  const std::tuple<const char*, const char*> bons[] = {
      {"10.1.2.3", "10.1.2.3"},       {" 10 . 1.2.3 ", "10.1.2.3"}, {"255.255.255.255", "255.255.255.255"},
      {"127.1", "127.0.0.1"},         {"10.1.515", "10.1.2.3"},     {"167838211", "10.1.2.3"},
      {"0x0A.01.2.0x3", "10.1.2.3"},  {"0.0.0.0", "0.0.0.0"},
  };
  for (const auto& [texte, attendu] : bons) {
    auto a = TIPAddress::Parse(texte);
    ASSERT_NE(a, nullptr) << texte;
    EXPECT_EQ(a->ToString(), attendu) << texte;
    EXPECT_EQ(a->Famille, 2);
    EXPECT_EQ(TIPAddress::TryParse(texte), nullptr) << texte;
  }
  for (const char* mauvais : {"10.1.2.256", "10.1.2.3.4", "", "serveur", "10.1.2.3x", "0xFFFFFFFF", "1..2"}) {
    EXPECT_EQ(TIPAddress::Parse(mauvais), nullptr) << mauvais;
  }
  std::unique_ptr<TErreur> e(TIPAddress::TryParse("10.1.2.256"));
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Message, "la cha\xEEne 10.1.2.256 n'est pas une adresse valide");
  EXPECT_EQ(TIPAddress::Any()->ToString(), "0.0.0.0");
  EXPECT_EQ(TIPAddress::Loopback()->ToString(), "127.0.0.1");
  EXPECT_EQ(TIPAddress::Broadcast()->ToString(), "255.255.255.255");
  EXPECT_EQ(TIPAddress::HostToNetworkOrder(0x1234), TIPAddress::NetworkToHostOrder(0x1234));
}

TEST(AdressesIp, AnEndPointIsSerialisedAsItsAddressBytesThenItsPortHighByteFirst) {
  TIPEndPoint point(*TIPAddress::Parse("10.1.2.3"), 49200);
  EXPECT_EQ(point.EnSockAddr(), (TypeAdresseSocket{2, 0, 0xC0, 0x30, 10, 1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0}));

  TBinaryFormatter f(nullptr);
  point.Ecrire(&f, nullptr);
  const std::vector<uint8_t> attendu = {0x0A, 0x01, 0x02, 0x03, 0xC0, 0x30};
  EXPECT_EQ(static_cast<TMemoryStream*>(f.Flux())->Bytes(), attendu);

  // As an object, read back by its registered class name.
  TBinaryFormatter g(nullptr);
  g.EcrireObjet(&point, nullptr);
  g.SetPosition(0);
  std::unique_ptr<TObject> objet(g.LireObjet(nullptr));
  auto* lu = ObjectAs<TIPEndPoint>(objet.get());
  ASSERT_NE(lu, nullptr);
  EXPECT_EQ(lu->Adresse()->ToString(), "10.1.2.3");
  EXPECT_EQ(lu->Port, 49200);
  EXPECT_EQ(lu->Famille(), 2);

  // A short stream is a read error, not a half-read end point.
  TBinaryFormatter court(nullptr);
  court.EcrireEntier(1);
  court.SetPosition(0);
  TIPEndPoint vide{TBlank{}};
  EXPECT_THROW(vide.Lire(&court, nullptr), EReadError);
}
