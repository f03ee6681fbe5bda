#include "resources/StringTable.h"

#include <array>
#include <utility>

namespace updater {
namespace {

// The texts are kept letter for letter, misspellings included.
constexpr std::array<std::pair<std::int32_t, std::string_view>, 32> kTable{{
    {1001, "&Cancel download"},
    {1002, "&Pause"},
    {1003, "&Continue"},
    {1004, "%1 Updater"},
    {1005, "%3 Updater: %1 kb of %2 is downloaded."},
    {1006, "%1 Updater: Download is fault.|Click on icon for more details."},
    {1007, "Download is fault."},
    {1008, "Downloading is fault: %1|Do you want to try again? Click \"Yes\" to download again or \"No\" for quit."},
    {1009, "Ftp URL is not valid."},
    {1010, "Couldn't connect to ftp server."},
    {1011, "Couldn't open URL."},
    {1012, "Downloaded file has wrong size."},
    {1013, "Update downloading is completed.|Click on Icon for more details."},
    {1014, "%1 Updater: Download is complete.|Click on icon to install update."},
    {1015, "Click \"OK\" to start installation process."},
    {1016, "Downloaded file is not signed by the publisher."},
    {2001, "Download &abbrechen"},
    {2002, "&Pause"},
    {2003, "&Weiter"},
    {2004, "%1 Programm-Updatechecker"},
    {2005, "%3 Updater: %1 von %2 kb wurde downgeladen."},
    {2006, "%1 Updater: Der Download war leider nicht moglich.|Bitte hier klicken um weitere Informaztionen zu erhalten."},
    {2007, "Download war nicht m\u00f6glich."},
    {2008, "Download abgebrochen: %1|Mochten Sie es nochmals versuchen?"},
    {2009, "Ftp URL ist nicht g\u00fcltig."},
    {2010, "Verbindung zum Server nicht m\u00f6glich."},
    {2011, "Kann URL nicht \u00f6ffnen."},
    {2012, "The downgeladenen Datei hat eine falsche Gro\u042fe."},
    {2013, "Das Update wurde erfolgreich downgeladen.|Klicken Sie auf das Symbol f\u00fcr weitere Informationen."},
    {2014, "%1 Updater: Das Update wurde erfolgreich downgeladen.|Klicken Sie auf das Symbol um die Instalation zu starten."},
    {2015, "KLicken Sie auf OK um die Installation zu starten."},
    {2016, "Die heruntergeladene Datei ist nicht vom Herausgeber signiert."},
}};

}  // namespace

std::optional<std::string_view> FindString(std::int32_t id) {
  for (const auto& [key, text] : kTable) {
    if (key == id) return text;
  }
  return std::nullopt;
}

}  // namespace updater
