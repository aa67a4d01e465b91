// Opening the vendor's web site in a browser.
#pragma once

// The vendor's web site, opened from the button bar.
inline constexpr wchar_t kVendorSiteAddress[] = L"http://www.velmora.net/";

// Starts "IEXPLORE" with the address; when that fails, the browser registered for ".htm" files
// with the address appended after a blank. Reports nothing.
void OpenVendorSite(const wchar_t* address);
