#include "JustLookingItems.h"

#include "SampleAtlas.h"

#include <set>

namespace discbuilder {

std::vector<DadaVaverozItem> CountryArticleItems(const SampleAtlas& atlas)
{
    std::set<std::uint32_t> countries;
    for (const AtlasPlace& place : atlas.places)
        if (place.article != 0)
            countries.insert(place.article);
    std::vector<DadaVaverozItem> items;
    for (const ArticleRecordSource& article : atlas.articles)
        if (article.rin > 0 && countries.count(static_cast<std::uint32_t>(article.rin)) != 0)
            items.push_back({article.title, std::to_string(article.rin), "GEO", "Artcl"});
    return items;
}

}  // namespace discbuilder
