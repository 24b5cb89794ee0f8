// A settings store of its own for each test: both hives in a temporary folder, put in place of the
// store in use for the test's life.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <memory>

#include "platform/registry/Registry.h"

class RegistreEssai : public ::testing::Test {
 protected:
  void SetUp() override {
    char model[] = "/tmp/nv_settings_XXXXXX";
    ASSERT_NE(::mkdtemp(model), nullptr);
    folder_ = model;
    store_ = std::make_unique<THiveFiles>((folder_ / "machine.hive").string(), (folder_ / "user.hive").string());
    Registry::SetCurrent(store_.get());
  }
  void TearDown() override {
    Registry::SetCurrent(nullptr);
    std::filesystem::remove_all(folder_);
  }

  // Writes straight into a hive, bypassing the objects under test.
  void Poser(TRegistryHive Ruche, const std::string& Cle, const std::string& Nom, const TRegistryValue& Valeur) {
    std::string detail;
    ASSERT_EQ(store_->Write(Ruche, Cle, Nom, Valeur, detail), TRegistryStatus::Ok) << detail;
  }
  // Reads a text straight from a hive; "<absent>" when it cannot be read.
  std::string Texte(TRegistryHive Ruche, const std::string& Cle, const std::string& Nom) {
    std::string detail;
    TRegistryValue valeur{HiveFile::kKindText, {}, 0};
    return store_->Read(Ruche, Cle, Nom, valeur, detail) == TRegistryStatus::Ok ? valeur.Text : "<absent>";
  }
  THiveFiles& Store() { return *store_; }

  std::filesystem::path folder_;
  std::unique_ptr<THiveFiles> store_;
};
