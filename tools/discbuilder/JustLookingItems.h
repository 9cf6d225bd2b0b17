// The browsing view's rows that the builder adds to the database sources: the atlas's country
// articles in [Dada Vaveroz Data] (category GEO, content "Artcl", disc 1, shown in the FIND list).
#pragma once

#include "ContentDatabaseWriter.h"

#include <vector>

namespace discbuilder {

struct SampleAtlas;

// One row per country article of the atlas (the articles its places link to), in article order.
std::vector<DadaVaverozItem> CountryArticleItems(const SampleAtlas& atlas);

}  // namespace discbuilder
