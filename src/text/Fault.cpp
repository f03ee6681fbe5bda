#include "text/Fault.h"

#include <new>
#include <stdexcept>
#include <system_error>

namespace updater {

std::string FaultDescription(std::int32_t number) {
  switch (static_cast<FaultNumber>(number)) {
    case FaultNumber::None: return "";
    case FaultNumber::InvalidProcedureCall: return "Invalid procedure call or argument";
    case FaultNumber::Overflow: return "Overflow";
    case FaultNumber::OutOfMemory: return "Out of memory";
    case FaultNumber::SubscriptOutOfRange: return "Subscript out of range";
    case FaultNumber::TypeMismatch: return "Type mismatch";
    case FaultNumber::InternalError: return "Internal error";
    case FaultNumber::BadFileNameOrNumber: return "Bad file name or number";
    case FaultNumber::FileNotFound: return "File not found";
    case FaultNumber::DeviceIoError: return "Device I/O error";
    case FaultNumber::FileAlreadyExists: return "File already exists";
    case FaultNumber::DiskFull: return "Disk full";
    case FaultNumber::InputPastEndOfFile: return "Input past end of file";
    case FaultNumber::PermissionDenied: return "Permission denied";
    case FaultNumber::PathFileAccessError: return "Path/File access error";
    case FaultNumber::PathNotFound: return "Path not found";
    case FaultNumber::ObjectVariableNotSet: return "Object variable or With block variable not set";
    case FaultNumber::ResourceNotFound: return "Resource with identifier not found";
  }
  return "Application-defined or object-defined error";
}

void RaiseFault(FaultNumber number, SourceLocation where) {
  throw Fault(static_cast<std::int32_t>(number), static_cast<std::int32_t>(where.line()));
}

FaultNumber FaultNumberForSystemError(const std::error_code& error) {
  const std::error_condition meaning = error.default_error_condition();
  if (meaning == std::errc::no_such_file_or_directory) return FaultNumber::FileNotFound;
  if (meaning == std::errc::not_a_directory) return FaultNumber::PathNotFound;
  if (meaning == std::errc::permission_denied || meaning == std::errc::operation_not_permitted ||
      meaning == std::errc::read_only_file_system)
    return FaultNumber::PermissionDenied;
  if (meaning == std::errc::file_exists) return FaultNumber::FileAlreadyExists;
  if (meaning == std::errc::no_space_on_device) return FaultNumber::DiskFull;
  if (meaning == std::errc::io_error) return FaultNumber::DeviceIoError;
  if (meaning == std::errc::filename_too_long) return FaultNumber::BadFileNameOrNumber;
  if (meaning == std::errc::not_enough_memory) return FaultNumber::OutOfMemory;
  return FaultNumber::PathFileAccessError;
}

Fault CurrentExceptionAsFault(std::int32_t line) {
  auto as = [line](FaultNumber n) { return Fault(static_cast<std::int32_t>(n), line); };
  try {
    throw;
  } catch (const Fault& fault) {
    return fault;
  } catch (const std::bad_alloc&) {
    return as(FaultNumber::OutOfMemory);
  } catch (const std::system_error& e) {
    return as(FaultNumberForSystemError(e.code()));
  } catch (const std::out_of_range&) {
    return as(FaultNumber::SubscriptOutOfRange);
  } catch (const std::overflow_error&) {
    return as(FaultNumber::Overflow);
  } catch (const std::invalid_argument&) {
    return as(FaultNumber::InvalidProcedureCall);
  } catch (...) {
    return as(FaultNumber::InternalError);
  }
}

}  // namespace updater
