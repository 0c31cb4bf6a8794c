#include "shell/PageTable.h"

#include "pages/AboutPage.h"
#include "pages/ConfigPage.h"
#include "pages/EncryptionPage.h"
#include "pages/LinkInfoPage.h"
#include "pages/SiteSurveyPage.h"

#include <type_traits>

namespace {

template <typename P> Page* make(AppContext& context, QWidget* frame, bool timers) {
    if constexpr (std::is_constructible_v<P, AppContext&, QWidget*, bool>) {
        return new P(context, frame, timers);
    } else {
        return new P(context, frame);
    }
}

} // namespace

const std::array<PageDescriptor, pageCount>& pageTable() {
    static const std::array<PageDescriptor, pageCount> table = {{
        {PageId::LinkInfo, "linkInfoButton", "Link Info", "Link_Info1", "Link_Info2", "Link_Info3",
         "LINK_INFO", &make<LinkInfoPage>},
        {PageId::Configuration, "configButton", "Configuration", "Config1", "Config2", "Config3", "CONFIG",
         &make<ConfigPage>},
        {PageId::Encryption, "encryptionButton", "Encryption", "Advanced1", "Advanced2", "Advanced3",
         "ADVANCED", &make<EncryptionPage>},
        {PageId::SiteSurvey, "siteSurveyButton", "Site Survey", "Sitesurvey1", "Sitesurvey2", "Sitesurvey3",
         "SITESURVEY", &make<SiteSurveyPage>},
        {PageId::About, "aboutButton", "About", "About1", "About2", "About3", "ABOUT", &make<AboutPage>},
    }};
    return table;
}

const PageDescriptor& pageDescriptor(PageId id) {
    return pageTable()[static_cast<std::size_t>(id)];
}

std::optional<PageId> pageOfButton(LayoutTarget target) {
    const int number = static_cast<int>(target);
    if (number < static_cast<int>(LayoutTarget::LinkInfoButton) || number > static_cast<int>(pageCount)) {
        return std::nullopt;
    }
    return static_cast<PageId>(number - 1);
}

std::optional<LayoutTarget> layoutTargetFromNumber(int number) {
    if (number < static_cast<int>(LayoutTarget::LinkInfoButton) ||
        number > static_cast<int>(LayoutTarget::PageFrame)) {
        return std::nullopt;
    }
    return static_cast<LayoutTarget>(number);
}
