// French descriptions of the run-time error numbers.
#include "common/errors.h"

#include <new>

namespace corvane {

std::string errorDescription(int number) {
    switch (number) {
        case kErrInvalidCall: return "Argument ou appel de procédure incorrect";
        case kErrOverflow: return "Dépassement de capacité";
        case kErrOutOfMemory: return "Mémoire insuffisante";
        case kErrTypeMismatch: return "Incompatibilité de type";
        case kErrInternal: return "Erreur interne";
        case kErrBadFileName: return "Nom ou numéro de fichier incorrect";
        case kErrFileNotFound: return "Fichier introuvable";
        case kErrDeviceIo: return "Erreur d'entrée/sortie de périphérique";
        case kErrFileExists: return "Fichier déjà existant";
        case kErrDiskFull: return "Disque plein";
        case kErrPermissionDenied: return "Permission refusée";
        case kErrPathFileAccess: return "Erreur d'accès Chemin/Fichier";
        case kErrPathNotFound: return "Chemin d'accès introuvable";
        case kErrCancel: return "Annulation sélectionnée.";
        default: return "Erreur définie par l'application ou par l'objet";
    }
}

RuntimeError currentError() noexcept {
    // Building the error's texts may itself fail when memory is short: a number alone then.
    try {
        try {
            throw;
        } catch (const RuntimeError& error) {
            return error;
        } catch (const std::bad_alloc&) {
            return RuntimeError(kErrOutOfMemory);
        } catch (...) {
            return RuntimeError(kErrInternal);
        }
    } catch (...) {
        return RuntimeError(kErrOutOfMemory, RuntimeError::NoText{});
    }
}

RuntimeError::RuntimeError(int number) : RuntimeError(number, errorDescription(number)) {}

RuntimeError::RuntimeError(int number, const std::string& description)
    : number_(number),
      description_(description),
      message_("Erreur " + std::to_string(number) + " : " + description) {}

}  // namespace corvane
