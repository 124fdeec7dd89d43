#pragma once

#include <QUrl>

// The maker's page that tells whether a newer version exists; "Check for update" opens
// it in the browser with the language ("lang", always "ENG") and the program's version
// number ("progvers").
namespace UpdatePage {

inline constexpr char Host[] = "www.brightway.example";
inline constexpr char Path[] = "/pages/c_vaulto.php";

QUrl url();

} // namespace UpdatePage
