#include "ftp/CFTPServer.h"

#include "ftp/FormatInetError.h"
#include "text/Trap.h"

namespace updater {

using namespace inet;

CFTPServer::CFTPServer(IInternet& internet, IRuntimeErrors& errors) : internet_(internet), errors_(errors) {
  TrapRuntime(errors_, "Runtime Error in Class_Initialize", [&] {
    session_ = internet_.InternetOpen(kAgentName, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (session_ == 0) lastError_ = LastInetErrorText(internet_, errors_, "InternetOpen");
    connection_ = 0;
  });
}

CFTPServer::~CFTPServer() {
  TrapRuntime(errors_, "Runtime Error in Class_Terminate", [&] {
    Disconnect();
    internet_.InternetCloseHandle(session_);
  });
}

bool CFTPServer::Connect(const std::string& server, const std::string& login, const std::string& password) {
  bool connected = false;
  TrapRuntime(errors_, "Runtime Error in Connect", [&] {
    if (connection_ != 0) Disconnect();
    connection_ = internet_.InternetConnect(session_, server, INTERNET_INVALID_PORT_NUMBER, login, password,
                                            INTERNET_SERVICE_FTP, INTERNET_FLAG_RELOAD | INTERNET_FLAG_PASSIVE, 0);
    if (connection_ != 0) {
      connected = true;
      return;
    }
    lastError_ = LastInetErrorText(internet_, errors_, "Connect");
  });
  return connected;
}

void CFTPServer::Disconnect() {
  TrapRuntime(errors_, "Runtime Error in Disconnect", [&] {
    if (connection_ != 0) internet_.InternetCloseHandle(connection_);
    connection_ = 0;
  });
}

bool CFTPServer::DeleteRemoteFile(const std::string& fileName) {
  bool deleted = false;
  TrapRuntime(errors_, "Runtime Error in DeleteRemoteFile", [&] {
    if (internet_.FtpDeleteFile(connection_, fileName)) {
      deleted = true;
      return;
    }
    lastError_ = LastInetErrorText(internet_, errors_, "FtpDeleteFile");
  });
  return deleted;
}

}  // namespace updater
