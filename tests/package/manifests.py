"""winget's and Scoop's manifests in DIST parse, carry the fields their formats require and VERSION, and name
files of DIST by their SHA-256.  /usr/bin/python3 tests/package/manifests.py DIST VERSION"""
import glob, hashlib, json, os, sys, yaml

dist, version = sys.argv[1:]
# What winget's schema 1.10.0 requires, by manifest type and by installer type; what a Scoop bucket requires.
WINGET = "PackageIdentifier PackageVersion ManifestType ManifestVersion "
INSTALLER = "Architecture InstallerUrl InstallerSha256 "
REQUIRED = {"version": WINGET + "DefaultLocale", "installer": WINGET + "Installers",
            "defaultLocale": WINGET + "PackageLocale Publisher PackageName License ShortDescription",
            "nullsoft": INSTALLER, "wix": INSTALLER, "zip": INSTALLER + "NestedInstallerType NestedInstallerFiles",
            "scoop": "version description homepage license architecture bin"}
faults = []


def check(where, kind, manifest, named_version=version, url=None, sha256=None):
    faults.extend(f"{where} lacks {field}" for field in REQUIRED[kind].split() if field not in manifest)
    if named_version != version:
        faults.append(f"{where} names version {named_version!r}, not {version}")
    path = url and os.path.join(dist, url.rsplit("/", 1)[-1])
    if url and (not os.path.isfile(path) or hashlib.sha256(open(path, "rb").read()).hexdigest() != str(sha256).lower()):
        faults.append(f"{where}: {url} is not a file of {dist} with SHA-256 {sha256}")


for name in sorted(glob.glob(os.path.join(dist, "winget", "*.yaml"))):
    manifest, where = yaml.safe_load(open(name)), os.path.basename(name)
    check(where, manifest.get("ManifestType"), manifest, manifest.get("PackageVersion"))
    for installer in manifest.get("Installers", []):
        kind = installer.get("InstallerType")
        check(f"{where}'s {kind} installer", kind, installer, version, installer.get("InstallerUrl"),
              installer.get("InstallerSha256"))
scoop = json.load(open(os.path.join(dist, "scoop", "nudgewick.json")))
build = scoop.get("architecture", {}).get("64bit", {})
check("nudgewick.json", "scoop", scoop, scoop.get("version"), build.get("url"), build.get("hash"))
print("\n".join(f"FAIL: {fault}" for fault in faults) or "PASS: the winget and Scoop manifests")
sys.exit(1 if faults else 0)
