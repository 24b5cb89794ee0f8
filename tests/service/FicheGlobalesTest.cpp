#include <gtest/gtest.h>

#include "service/ApplicationServiceWeb.h"
#include "ui/DynaLibU.h"
#include "ui/VclCanva.h"

namespace {

TEST(FicheGlobalesService, TheHolderOwnsTheDestinationAndFourUnzipComponents) {
  TFicheGlobales fiche;
  GarnirFicheGlobales(fiche);
  ASSERT_EQ(fiche.ComponentCount(), 5);
  auto* destination = dynamic_cast<TVokCanvasDestination*>(fiche.FindComponent("VokCanvasDestination"));
  ASSERT_NE(destination, nullptr);
  EXPECT_FALSE(destination->AvecZoom());
  EXPECT_EQ(destination->Zoom(), 90u);
  EXPECT_EQ(dynamic_cast<TUnzipFile*>(fiche.FindComponent("Unzip")), fiche.Components(1));
  for (int i = 1; i < 5; ++i) {
    auto* u = dynamic_cast<TUnzipFile*>(fiche.Components(i));
    ASSERT_NE(u, nullptr);
    EXPECT_EQ(u->Options, +TUnzipFlag::OverWriteFlag | +TUnzipFlag::NoDirectoryNamesFlag |
                              +TUnzipFlag::NoDirectoryItemsFlag);
    EXPECT_EQ(u->wUnzipSubOptions, +TUnzipSubOption::USO_EXTERNALPROG);
    EXPECT_EQ(u->IndexofItem, 0);
  }
  EXPECT_EQ(fiche.FichierVok.Name(), "FichierVok");
  EXPECT_EQ(fiche.FichierResCal.Name(), "FichierResCal");
}

}  // namespace
