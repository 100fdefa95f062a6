#pragma once
// The account an unattended run works for. Deployment systems start
// installers as the local system account, whose documents folder no operator
// ever sees: a set with per-user parts then needs /documents.
#include <string>

#include "main/ComponentSetFile.h"

// Whether an account's SID (text form, "S-1-5-18") is the local system account.
bool hnIsSystemAccountSid(const std::string& sid);

// The process's user: its SID in text form and "DOMAIN\name" (the SID again
// when the name cannot be looked up). False when the token cannot be read.
bool hnProcessAccount(std::string& sid, std::string& name);

// The "DOMAIN\name" of an account's SID (text form); the SID itself when the
// name cannot be looked up. False when the SID is not one.
bool hnAccountNameOfSid(const std::string& sid, std::string& name);

// Whether the set holds parts that live in a user's documents folder: the
// stored Python choices or documents content.
bool hnSetHasPerUserParts(const CComponentSet& set);

// The documents rule of /apply for the account `sid` (named `name`): 0 when
// the run may go on, 87 when the set holds per-user parts, the account is the
// local system account and no documents folder was given. `message` names the
// account and the folder that will be filled (or why none can be).
int hnCheckDocumentsRule(const CComponentSet& set, const std::string& sid, const std::string& name,
                         const std::string& documentsOption, const std::string& documentsNow,
                         std::string& message);
