"""The winget and Scoop manifests of DIST parse, carry the fields their formats require and name VERSION;
each download is a file of DIST with the SHA-256 given, holding the programs named in it.
  /usr/bin/python3 tests/package/manifests.py DIST VERSION   (Debian's python3-yaml)"""
import glob, hashlib, json, os, sys, zipfile
import yaml

dist, version = sys.argv[1:]
# The fields winget's schema 1.10.0 requires, by manifest type and installer type; and a Scoop bucket's.
WINGET = "PackageIdentifier PackageVersion ManifestType ManifestVersion "
INSTALLER = "Architecture InstallerUrl InstallerSha256 "
REQUIRED = {"version": WINGET + "DefaultLocale", "installer": WINGET + "Installers",
            "defaultLocale": WINGET + "PackageLocale Publisher PackageName License ShortDescription",
            "nullsoft": INSTALLER, "wix": INSTALLER, "zip": INSTALLER + "NestedInstallerType NestedInstallerFiles",
            "scoop": "version description homepage license architecture bin"}
faults = []


def check(where, kind, manifest, named_version=version, url=None, sha256="", inside=()):
    faults.extend(f"{where} lacks {field}" for field in REQUIRED[kind].split() if field not in manifest)
    if named_version != version:
        faults.append(f"{where} names version {named_version!r}, not {version}")
    if not url:
        return
    path = os.path.join(dist, url.rsplit("/", 1)[-1])
    if not os.path.isfile(path) or hashlib.sha256(open(path, "rb").read()).hexdigest() != str(sha256).lower():
        faults.append(f"{where}: {url} is not a file of {dist} with SHA-256 {sha256}")
    elif inside:
        names = zipfile.ZipFile(path).namelist()
        faults.extend(f"{where}: {name} is not in {url}" for name in inside if name.replace("\\", "/") not in names)


for name in sorted(glob.glob(os.path.join(dist, "winget", "*.yaml"))):
    manifest = yaml.safe_load(open(name))
    check(os.path.basename(name), manifest.get("ManifestType"), manifest, manifest.get("PackageVersion"))
    for installer in manifest.get("Installers", []):
        kind = installer.get("InstallerType")
        nested = [file["RelativeFilePath"] for file in installer.get("NestedInstallerFiles", [])]
        check(f"{os.path.basename(name)}'s {kind} installer", kind, installer, version,
              installer.get("InstallerUrl"), installer.get("InstallerSha256"), nested)
scoop = json.load(open(os.path.join(dist, "scoop", "nudgewick.json")))
build = scoop.get("architecture", {}).get("64bit", {})
programs = [scoop.get("bin")] + [shortcut[0] for shortcut in scoop.get("shortcuts", [])]
check("nudgewick.json", "scoop", scoop, scoop.get("version"), build.get("url"), build.get("hash"),
      [f"{build.get('extract_dir')}/{program}" for program in programs])
print("\n".join(f"FAIL: {fault}" for fault in faults) or "PASS: the winget and Scoop manifests")
sys.exit(1 if faults else 0)
