// The fixture of the toolkit's window tests: a loop of its own for the modal forms, a scripted
// modal driver and a virtual clock, all given back when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/gui/Fiches.h"
#include "platform/gui/Minuterie.h"
#include "platform/loop/MainLoop.h"

class FenetresEssai : public ::testing::Test {
 protected:
  void SetUp() override {
    boucle = std::make_unique<MainLoop>([] {}, [] {});
    Application().DefinirBoucle(boucle.get());
    Application().DefinirPiloteModal(&pilote);
    Horloge::Definir(&horloge);
  }
  void TearDown() override {
    Horloge::Definir(nullptr);
    Application().DefinirPiloteModal(nullptr);
    Application().DefinirBoucle(nullptr);
  }

  std::unique_ptr<MainLoop> boucle;
  TPiloteScripte pilote;
  THorlogeVirtuelle horloge;
};
