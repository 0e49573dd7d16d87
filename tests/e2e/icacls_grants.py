#!/usr/bin/env python3
"""Checks the rights an installer granted, from the command lines a recording icacls.exe
logged, against the installed files in a Wine prefix (Wine does not enforce rights itself).

Usage: icacls_grants.py ICACLS_LOG DRIVE_C [NEW_FILE...]

Fails (exit 1, one line per fault) when a grant that lets its trustee write reaches a file
that runs or loads as code, or a folder that holds one; when a grant names an account by
name rather than by SID (names differ between languages and accounts); when one lets anyone
but the administrators' accounts or the Users group write; or when no grant lets the Users
group change the data files at all; or when the Users group could not create one of the
NEW_FILEs (Windows paths of files the installer does not make, such as history.dat) and then
rewrite it by an atomic replace, whoever made it first: that needs the right to add files to
its folder, and a grant inherited by the folder's files that modifies and deletes them.
"""
import os
import re
import shlex
import sys

USERS = "*S-1-5-32-545"
# Accounts that may write where programs live: SYSTEM, Administrators, TrustedInstaller.
ADMINS = {
    "*S-1-5-18",
    "*S-1-5-32-544",
    "*S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464",
}
# Rights that read, list or run only.
READ_ONLY = {"R", "RX", "GR", "GE", "RD", "REA", "X", "RA", "RC", "S", "N"}
CODE = re.compile(r"\.(exe|dll|com|scr|cpl|ocx|sys|drv|msi|bat|cmd|ps1|vbs|js|lnk)$", re.I)


def to_unix(drive_c, path):
    if not re.match(r"^[A-Za-z]:\\", path):
        raise ValueError(f"not an absolute Windows path: {path}")
    if path[0].upper() != "C":
        raise ValueError(f"not on drive C: {path}")
    return os.path.join(drive_c, *[p for p in path[3:].split("\\") if p])


def parse_grant(token):
    """'*S-1-5-32-545:(OI)(IO)(NP)M' -> (trustee, flags, rights)."""
    trustee, _, perm = token.rpartition(":")
    groups = re.findall(r"\(([^)]*)\)", perm)
    flags = {g for g in groups if g in {"OI", "CI", "IO", "NP", "I"}}
    rights = set()
    for g in groups:
        if g not in flags:
            rights.update(x.strip() for x in g.split(","))
    simple = re.sub(r"\([^)]*\)", "", perm)
    if simple:
        rights.add(simple)
    return trustee, flags, rights


def reach(folder, flags, cut):
    """The files and folders a grant on folder reaches (folder itself unless inherit-only)."""
    reached = [] if "IO" in flags else [folder]
    if not os.path.isdir(folder):
        return reached
    if not flags & {"OI", "CI"}:
        return reached
    depth_one = "NP" in flags
    for root, dirs, files in os.walk(folder):
        dirs[:] = [d for d in dirs if os.path.join(root, d) not in cut]
        if "OI" in flags:
            reached += [os.path.join(root, f) for f in files]
        if "CI" in flags:
            reached += [os.path.join(root, d) for d in dirs]
        if depth_one:
            break
    return reached


# Rights on a folder that add a file to it; rights on a file that rewrite and delete it (the
# atomic replace moves a temporary file over it).
ADD_FILE = {"WD", "AD", "W", "M", "F", "GW", "GA"}
REPLACE_FILE = {"M", "F", "GA"}


def creatable(calls, drive_c, new_file):
    """Whether the Users group may create new_file and replace it later, from the grants on its
    folder (the rights of a folder reset before them are the inherited ones)."""
    folder = os.path.normpath(os.path.dirname(to_unix(drive_c, new_file)))
    adds = replaces = False
    for path, args in calls:
        if os.path.normpath(to_unix(drive_c, path)) != folder:
            continue
        if "/inheritance:r" in args or "/reset" in args:
            adds = replaces = False
        for token in grants_of(args):
            trustee, flags, rights = parse_grant(token)
            if trustee != USERS:
                continue
            if "IO" not in flags and rights & ADD_FILE:
                adds = True
            if "OI" in flags and rights & REPLACE_FILE:
                replaces = True
    return adds, replaces


def grants_of(args):
    grants = []
    i = 0
    while i < len(args):
        if args[i].lower() in ("/grant", "/grant:r"):
            i += 1
            while i < len(args) and not args[i].startswith("/"):
                grants.append(args[i])
                i += 1
        else:
            i += 1
    return grants


def holds_code(folder):
    return any(CODE.search(f) for f in os.listdir(folder)) if os.path.isdir(folder) else False


def main():
    log, drive_c = sys.argv[1], sys.argv[2]
    calls = []
    with open(log, encoding="utf-8") as f:
        for line in f:
            words = shlex.split(line.strip(), posix=False)
            words = [w[1:-1] if len(w) > 1 and w[0] == w[-1] == '"' else w for w in words]
            if len(words) >= 3:
                calls.append((words[1], words[2:]))
    faults = []
    # A folder whose inherited rights were cut takes nothing from above.
    cut = {os.path.normpath(to_unix(drive_c, p)) for p, args in calls if "/inheritance:r" in args}
    users_write = False
    for path, args in calls:
        target = os.path.normpath(to_unix(drive_c, path))
        for token in grants_of(args):
            trustee, flags, rights = parse_grant(token)
            if not trustee.startswith("*S-1-"):
                faults.append(f"{path}: a grant names {trustee} by name, not by SID")
            elif trustee in ADMINS:
                continue
            elif trustee != USERS and not rights <= READ_ONLY:
                faults.append(f"{path}: a grant lets {trustee} write, not the Users group")
            if rights <= READ_ONLY:
                continue
            users_write = users_write or trustee == USERS
            for reached in reach(target, flags, cut - {target}):
                if os.path.isfile(reached) and CODE.search(reached):
                    faults.append(f"{path}: {token} lets users change {reached}")
                elif os.path.isdir(reached) and holds_code(reached):
                    faults.append(f"{path}: {token} lets users write {reached}, which holds code")
    if not users_write:
        faults.append("no grant lets the Users group change the data files")
    for new_file in sys.argv[3:]:
        adds, replaces = creatable(calls, drive_c, new_file)
        if not adds:
            faults.append(f"{new_file}: the Users group may not add a file to its folder")
        if not replaces:
            faults.append(f"{new_file}: no grant lets the Users group rewrite it once made")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
