#include "ui/ModulesUi.h"

#include "ui/VclDialogue.h"

std::span<const TModule> ModulesUi() {
  static const TModule kTable[] = {
      {"VclDialogue", VclDialogue::InitialiserFenetres, VclDialogue::FinaliserFenetres},
  };
  return kTable;
}
