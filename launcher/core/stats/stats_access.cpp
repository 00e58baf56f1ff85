#include "core/stats/stats_access.h"

#include <algorithm>
#include <string>
#include <variant>

namespace talvo {
namespace {

// A drawn part as it is said: runs of spaces become one, and a leading "· "
// (a visual separator, the joiner says it) goes.
std::string spoken_text(std::string_view drawn) {
    constexpr std::string_view kDot = "\xC2\xB7 ";
    if (drawn.starts_with(kDot)) {
        drawn.remove_prefix(kDot.size());
    }
    std::string out;
    for (const char c : drawn) {
        if (c != ' ' || out.empty() || out.back() != ' ') {
            out.push_back(c);
        }
    }
    return out;
}

layout::Rect united(const layout::Rect& a, const layout::Rect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

}  // namespace

access::Element stats_document_element(const layout::Rect& client, bool active) {
    access::Element document = access::make_element(access::Role::Document, "Statistiques");
    document.states = access::kReadOnly | access::kFocusable | (active ? access::kFocused : 0);
    document.rect = client;
    return document;
}

std::vector<access::Element> stats_access_elements(const StatsPage& page) {
    std::vector<access::Element> elements;
    elements.reserve(page.spoken.size());
    for (const SpokenLine& line : page.spoken) {
        access::Element element = access::make_element(access::Role::StaticText, {});
        element.states = access::kReadOnly;
        bool first = true;
        for (const SpokenPart& part : line) {
            const auto* text = part.text < page.texts.size()
                                   ? std::get_if<draw::Text>(&page.texts[part.text])
                                   : nullptr;
            if (text == nullptr) {
                continue;
            }
            if (!first) {
                element.name.append(part.joiner);
            }
            element.name += spoken_text(text->text);
            element.rect = first ? text->rect : united(element.rect, text->rect);
            first = false;
        }
        if (!first) {
            elements.push_back(std::move(element));
        }
    }
    return elements;
}

}  // namespace talvo
