// The version record of a program or of a base: a product name and four numbers, stored and sent as
// 272 bytes. One definition, with its byte form and comparisons, in the network services.
#pragma once

#include "net/services/Version.h"
