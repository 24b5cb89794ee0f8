// Registration of the ports for each use, the administration port answering through the runtime,
// and the rewrite of answers to XML-Schema base types.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "objectdb/Traduction.h"
#include "platform/soap/InvocateurSoap.h"
#include "service/SupSvcWAdmin.h"
#include "service/SupSvcWImplementations.h"

namespace {

using SupSvcWImplementations::EnregistrerServicesWeb;
using SupSvcWImplementations::kNamespaceTypes;
using SupSvcWImplementations::RemplacerTypesParTypesDeBase;

std::string AppelerVersion(const std::string& action = "urn:TzSvcWAdmin-PortAdmin#Version") {
  std::string reponse;
  TInvocateurSoap().Dispatcher(
      "/soap", action,
      "<?xml version=\"1.0\"?><s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body>"
      "<a:Version xmlns:a=\"urn:TzSvcWAdmin-PortAdmin\"/></s:Body></s:Envelope>",
      reponse);
  return reponse;
}

TEST(SupSvcWImplementations, EachRegistrationReplacesThePreviousOneWhole) {
  EnregistrerServicesWeb("iso-8859-1", kOptionsSoapEncode);
  // A type of an earlier registration that the new one does not make again must not survive.
  RegistreTypesRemotables().EnregistrerRestriction("TTzSvcWCleAncienne", kNamespaceTypes, "unsignedInt");
  EnregistrerServicesWeb("iso-8859-1", kOptionsSoapLitteral);
  std::vector<std::string> autres;
  for (const auto& t : RegistreTypesRemotables().Types())
    if (!t->EstXsd()) autres.push_back(t->Nom);
  EXPECT_EQ(autres, (std::vector<std::string>{"TTzSvcWDuree", "ArrayOfTTzSvcWDuree", "TTzSvcWSemaine",
                                              "ArrayOfTTzSvcWSemaine", "ArrayOfstring", "ArrayOfunsignedInt",
                                              "ArrayOfdateTime"}));
  EXPECT_EQ(RegistreTypesRemotables().Chercher("double"), nullptr);
  ASSERT_EQ(RegistreInvocables().Interfaces().size(), 1u);
  const InterfaceInvocable& admin = RegistreInvocables().Interfaces()[0];
  EXPECT_EQ(admin.Nom, "ITzSvcWAdmin");
  EXPECT_EQ(admin.Namespace, "urn:TzSvcWAdmin-PortAdmin");
  EXPECT_EQ(admin.Options, kOptionsSoapLitteral);
  EXPECT_EQ(admin.NomClasse, "TSvcWAdmin");
}

TEST(SupSvcWImplementations, VersionAnswersTheVersionTextInEitherUse) {
  Traduction::DefinirTexte("SupVersionServiceWeb", "Service Web");
  EnregistrerServicesWeb("iso-8859-1", kOptionsSoapEncode);
  EXPECT_NE(AppelerVersion().find("<NS1:VersionResponse xmlns:NS1=\"urn:TzSvcWAdmin-PortAdmin\"><return "
                                  "xsi:type=\"xsd:string\">TEMPRAVO Service Web 2007 - 0.6.1</return>"),
            std::string::npos);
  // The action names the port, whatever the path; the quotes of the header are accepted.
  EXPECT_NE(AppelerVersion("\"urn:TzSvcWAdmin-PortAdmin#Version\"").find("2007 - 0.6.1"), std::string::npos);
  EnregistrerServicesWeb("iso-8859-1", kOptionsSoapLitteral);
  EXPECT_NE(AppelerVersion().find("<return>TEMPRAVO Service Web 2007 - 0.6.1</return>"), std::string::npos);
  Traduction::Vider();
}

TEST(SupSvcWImplementations, RewritingToBaseTypesLeavesEveryPrefixBound) {
  const std::string ns = " xmlns:NS2=\"" + std::string(kNamespaceTypes) + "\"";
  struct Cas {
    std::string avant, apres;
  } cas[] = {
      {"<return xsi:type=\"NS2:TTzSvcWCleMatiereType\"" + ns + ">4</return>",
       "<return xsi:type=\"xsd:unsignedInt\">4</return>"},
      {"<return xsi:type=\"NS2:TTzSvcWCleMatiere\"" + ns + ">4</return>", "<return xsi:type=\"xsd:unsignedInt\">4</return>"},
      {"<return xsi:type=\"NS2:TTzSvcWDuree\"" + ns + ">0.5</return>", "<return xsi:type=\"xsd:double\">0.5</return>"},
      {"<return xsi:type=\"NS2:TTzSvcWSemaine\"" + ns + ">3</return>",
       "<return xsi:type=\"xsd:unsignedShort\">3</return>"},
      {"<return xsi:type=\"NS2:TTzSvcWPlacementSeances\"" + ns + ">x</return>",
       "<return xsi:type=\"xsd:NMTOKEN\">x</return>"},
      // The array keeps its own type name, so its start tag keeps the declaration.
      {"<return xsi:type=\"NS2:ArrayOfTTzSvcWCleCours\" SOAP-ENC:arrayType=\"NS2:TTzSvcWCleCours[1]\"" + ns +
           "><item>1</item></return>",
       "<return xsi:type=\"NS2:ArrayOfTTzSvcWCleCours\" SOAP-ENC:arrayType=\"xsd:unsignedInt[1]\"" + ns +
           "><item>1</item></return>"},
  };
  for (const auto& c : cas) {
    std::string apres = RemplacerTypesParTypesDeBase(c.avant);
    EXPECT_EQ(apres, c.apres);
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(("<r xmlns:xsi=\"i\" xmlns:xsd=\"d\" xmlns:SOAP-ENC=\"e\">" + apres + "</r>").c_str()));
    for (const pugi::xml_attribute& a : doc.child("r").child("return").attributes()) {
      std::string v = a.value();
      if (v.starts_with("NS2:")) {
        EXPECT_NE(apres.find(ns), std::string::npos) << apres;
      }
    }
  }
}

}  // namespace
