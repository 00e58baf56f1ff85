#include "win/catalog/catalog_scan.h"

#include <windows.h>

#include <shlobj.h>
#include <shobjidl.h>

#include <knownfolders.h>

#include "core/catalog/builtins.h"
#include "core/catalog/scan_rules.h"
#include "core/shell/platform.h"
#include "win/platform/text_win.h"
#include "win/platform/unique_resource.h"

namespace talvo::win {
namespace {

// System.Link.TargetParsingPath, which older SDK headers lack.
constexpr PROPERTYKEY kLinkTargetParsingPath = {
    {0xB9B4B3FC, 0x2B51, 0x4A42, {0xB5, 0xD8, 0x32, 0x41, 0x46, 0xAF, 0xCF, 0x25}}, 2};

// A shell text as UTF-8; text that is not valid UTF-16 becomes empty.
std::string take_shell_text(wchar_t* raw) {
    const unique_cotaskmem_string text(raw);
    return text ? narrow(text.get(), InvalidUtf16::Empty) : std::string();
}

std::optional<std::string> display_name(IShellItem* item, SIGDN form) {
    wchar_t* raw = nullptr;
    if (FAILED(item->GetDisplayName(form, &raw))) {
        CoTaskMemFree(raw);
        return std::nullopt;
    }
    return take_shell_text(raw);
}

std::string link_target(IShellItem* item) {
    ComPtr<IShellItem2> item2;
    if (FAILED(item->QueryInterface(IID_PPV_ARGS(item2.put())))) {
        return {};
    }
    wchar_t* raw = nullptr;
    if (FAILED(item2->GetString(kLinkTargetParsingPath, &raw))) {
        CoTaskMemFree(raw);
        return {};
    }
    return take_shell_text(raw);
}

std::optional<ScannedItem> read_item(IShellItem* item) {
    std::optional<std::string> name = display_name(item, SIGDN_NORMALDISPLAY);
    if (!name) {
        return std::nullopt;
    }
    std::optional<std::string> id = display_name(item, SIGDN_PARENTRELATIVEPARSING);
    if (!id) {
        return std::nullopt;
    }
    return ScannedItem{std::move(*name), std::move(*id), link_target(item)};
}

void append_applications(Catalog& catalog, const Platform& platform) {
    ComPtr<IShellItem> folder;
    if (FAILED(SHGetKnownFolderItem(FOLDERID_AppsFolder, KF_FLAG_DEFAULT, nullptr,
                                    IID_PPV_ARGS(folder.put())))) {
        return;
    }
    ComPtr<IEnumShellItems> items;
    if (FAILED(folder->BindToHandler(nullptr, BHID_EnumItems, IID_PPV_ARGS(items.put())))) {
        return;
    }
    for (;;) {
        ComPtr<IShellItem> item;
        ULONG fetched = 0;
        if (items->Next(1, item.put(), &fetched) != S_OK || fetched == 0 || !item) {
            return;
        }
        const std::optional<ScannedItem> scanned = read_item(item.get());
        if (!scanned) {
            continue;
        }
        if (std::optional<CatalogEntry> entry =
                make_scanned_entry(*scanned, platform.system, platform.files)) {
            catalog.push_back(std::move(*entry));
        }
    }
}

}  // namespace

Catalog scan_catalog() {
    const ComApartment apartment;
    const Platform platform = system_platform();
    Catalog catalog = build_builtins(platform.system);
    append_applications(catalog, platform);
    return catalog;
}

}  // namespace talvo::win
