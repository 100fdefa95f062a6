#!/usr/bin/env python3
"""Assembles the demo repository: the server's folder tree with every installable
that the prerequisites and core pages offer, many of the optional pages' and the content
catalogues (lists, profile and template archives), under the server paths and file
names the installer asks for. Everything here is a stand-in made on this
machine: small Windows Installer packages (made with wixl) that carry the
product codes, names, versions, registry values and files that the installer
detects, wrapped where the page expects a setup program in the stand-in
bootstrapper (setups/bundle.cpp).

  make_repository.py OUT BUILD    BUILD holds repository-tools/ and tools/pip.exe
"""
import io, os, shutil, struct, subprocess, sys, uuid, zipfile
from xml.sax.saxutils import quoteattr

OUT, BUILD = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
TOOLS = os.path.join(BUILD, "repository-tools")
BUNDLE, PROGRAM, PIP = (os.path.join(TOOLS, "bundle.exe"), os.path.join(TOOLS, "program.exe"),
                        os.path.join(BUILD, "tools", "pip.exe"))
UNINSTALLER, OCX = os.path.join(TOOLS, "uninstaller.exe"), os.path.join(TOOLS, "PlantOPCClientX.ocx")
NEXT_INSTALLER = os.path.join(TOOLS, "next_installer.exe")
WORK = os.path.join(OUT, ".work")
FILE_TIME = 1598875200  # 2020-08-31 12:00 UTC
NAMESPACE = uuid.UUID("6f1d3c2e-58a4-4f0b-9a51-0c7d774e1500")

PREREQUISITES = "orvanto/files/OrvantoPreRequisites"
MICROSOFT = "orvanto/files/InstallerDownloads/_Installers3rdParty/Microsoft"
PY27 = "orvanto/files/InstallerDownloads/_Modules/Py27/Python27"
PY36 = "orvanto/files/InstallerDownloads/_Modules/Py36/Python36"
CORE = "orvanto/files/InstallerDownloads/Orvanto15.0/774"
THIRD_PARTY = "orvanto/files/InstallerDownloads/_Installers3rdParty"
UNINSTALL = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
RUNTIME_NAME = "Orvanto Version XV 15.0.0.774 Runtime"
PYTHON36_KEY = "{b43c5985-05a6-4dc7-be5f-85f504d498d0}"


def guid(seed):
    return "{%s}" % str(uuid.uuid5(NAMESPACE, seed)).upper()


def text(content):
    """A file's content: bytes as they are, text with Windows line ends."""
    return content if isinstance(content, bytes) else content.replace("\n", "\r\n").encode()


def program():
    with open(PROGRAM, "rb") as f:
        return f.read()


def pip():
    with open(PIP, "rb") as f:
        return f.read()


def module(name, what):
    return f'"""{name}: {what} (demo repository stand-in)."""\n\nVERSION = "15.0.0.774"\n'


# ---- Runtime folder -------------------------------------------------------------------------------

VARIANTS = ["Matrel Beta", "Intel-Blend", "Intel-Blend-IPP", "VC8", "VC8-IPP"]


def runtime_files():
    files = {"Orvanto.exe": program(),
             "Documentation\\Orvanto Runtime.txt": "Orvanto runtime documentation (demo repository stand-in).\n",
             # The binding that the runtime uses when no OpenCV build is selected.
             "OpenCV2_4_3OrOlder\\Python\\cv2.pyd": "cv2 binding 2.4.3 (stand-in)\n"}
    modules = {"orvanto.py": "runtime module", "orvanto_camera.py": "camera module",
               "orvanto_io.py": "I/O module", "orvanto_barcode.py": "barcode module",
               "orvanto_shm.py": "shared-memory module", "orvanto_image.py": "image module",
               "orvanto_profile.py": "profile module"}
    for name, what in modules.items():
        files["_RefPython_27\\" + name] = module(name, what + " for Python 2.7")
        files["_RefPython_36\\" + name] = module(name, what + " for Python 3.6")
    files.update({
        "_RefPython_27\\orvanto_helper.exe": program(),
        "_RefPython_27\\OpenCV2_4_3OrOlder\\cv2.pyd": "cv2 binding 2.4.3 (stand-in)\n",
        "_RefPython_27\\Python24\\_orvanto.pyd": "compiled module for Python 2.4 (stand-in)\n",
        "_RefPython_27\\Python26\\_orvanto.pyd": "compiled module for Python 2.6 (stand-in)\n",
        "_RefPython_27\\Python27\\_orvanto.pyd": "compiled module for Python 2.7 (stand-in)\n",
        "_RefPython_27\\Python27\\clr_2_0\\clr.pyd": "CLR 2.0 bridge module (stand-in)\n",
        "_RefPython_27\\Python27\\clr_2_0\\Python.Runtime.dll": "CLR 2.0 bridge assembly (stand-in)\n",
        "_RefPython_27\\Python27\\clr_4_0\\clr.pyd": "CLR 4.0 bridge module (stand-in)\n",
        "_RefPython_27\\Python27\\clr_4_0\\Python.Runtime.dll": "CLR 4.0 bridge assembly (stand-in)\n",
        "_RefPython_27\\x86\\orvanto_native.dll": "native helper (stand-in)\n",
        "_RefPython_36\\_orvanto.pyd": "compiled module for Python 3.6 (stand-in)\n",
    })
    for plugin in ["Backup", "CameraCalibration", "ImageLogger", "ResultExport"]:
        files[f"_Ref_PluginsPy27\\{plugin}\\{plugin}.py"] = module(plugin, "plug-in for Python 2.7")
    for plugin in ["Backup", "ImageLogger", "ResultExport"]:
        files[f"_Ref_PluginsPy36\\{plugin}\\{plugin}.py"] = module(plugin, "plug-in for Python 3.6")
    files.update(matrel_files())
    return files


# The image-library variants: eight files each, told apart by their sizes
# ("VC8" and "VC8-IPP" identical, "Intel-Blend-IPP" without "MatRel2.dll").
# Every integration rewrites each variant's "matrelct.py" from its version
# copies, so the script is the same everywhere and only the libraries differ.
MATREL_LIBRARIES = ["MatRel.dll", "MatRel2.dll", "pyMatrel26.pyd", "pyMatrel27.pyd", "pyMatrel36.pyd",
                    "pyMatrel37.pyd", "OrvantoMatTools.dll"]
MATREL_SCRIPT = module("matrelct", "image-array library script")
MATREL_BUILDS = {"Intel-Blend": ("Intel compiler", 1), "Intel-Blend-IPP": ("Intel compiler with IPP", 2),
                 "VC8": ("Visual C compiler", 3), "VC8-IPP": ("Visual C compiler", 3),
                 "Matrel Beta": ("Visual C beta", 5)}
ACTIVE_MATREL = "VC8"


def matrel_library(name, variant):
    label, size = MATREL_BUILDS[variant]
    return f"{name}: {label} build (stand-in)".ljust(96 + 16 * size) + "\n"


def matrel_files():
    files = {"_RefPython_27\\matrelct.py": MATREL_SCRIPT, "_RefPython_36\\matrelct.py": MATREL_SCRIPT}
    for variant in VARIANTS:
        folder = f"3.2.1.169\\{variant}\\"
        for name in MATREL_LIBRARIES:
            if not (variant == "Intel-Blend-IPP" and name == "MatRel2.dll"):
                files[folder + name] = matrel_library(name, variant)
        for script in ["matrelct.py", "matrelct_Py27.py", "matrelct_Py36.py"]:
            files[folder + "Python\\" + script] = MATREL_SCRIPT
    for name in MATREL_LIBRARIES:
        files[name] = matrel_library(name, ACTIVE_MATREL)
    return files


# ---- Windows Installer packages -------------------------------------------------------------------

class Package:
    """One .msi: files below an install folder (and in the system folder), registry values."""

    def __init__(self, file, code, name, version, install_dir=None, files=None, system_files=None,
                 registry=None, hidden=False, keep_system_files=False):
        self.file, self.code, self.name, self.version = file, code, name, version
        self.install_dir = install_dir  # ("ProgramFilesFolder" | "WindowsVolume", [names])
        self.files = files or {}
        self.system_files = system_files or {}
        self.registry = registry or []  # (key, name or None, type, value); HKLM, 32-bit view
        self.hidden = hidden
        # System files that may be the system's own: an existing one is left
        # alone and removal never deletes them.
        self.keep_system_files = keep_system_files

    def build(self):
        work = os.path.join(WORK, self.file)
        os.makedirs(work, exist_ok=True)
        counter = [0]

        def source(relative, content):
            counter[0] += 1
            path = os.path.join(work, "f%d" % counter[0])
            with open(path, "wb") as f:
                f.write(text(content))
            # One write time for every file: equal files stay equal once installed.
            os.utime(path, (FILE_TIME, FILE_TIME))
            return os.path.basename(path)

        refs = []

        def component(seed, inner):
            """A component with a stable GUID, entered in the feature."""
            refs.append("c%d" % counter[0])
            return f'<Component Id="{refs[-1]}" Guid="{guid(self.code + seed)}">{inner}</Component>'

        # Folder tree of the install folder.
        tree = {}
        for relative in sorted(self.files):
            node = tree
            for part in relative.split("\\")[:-1]:
                node = node.setdefault(part, {})
            node.setdefault(None, []).append(relative)

        def folder(node, dir_id):
            out = []
            for relative in node.get(None, []):
                name = relative.split("\\")[-1]
                src = source(relative, self.files[relative])
                out.append(component(relative, f'<File Id="f{counter[0]}" Name={quoteattr(name)} '
                                                f'Source="{src}" KeyPath="yes"/>'))
            for name, child in sorted((k, v) for k, v in node.items() if k is not None):
                child_id = "d" + guid(self.code + dir_id + name)[1:9]
                out.append(f'<Directory Id="{child_id}" Name={quoteattr(name)}>{folder(child, child_id)}</Directory>')
            return "".join(out)

        body = ""
        kept = []
        if self.install_dir:
            root, names = self.install_dir
            inner = f'<Directory Id="INSTALLDIR" Name={quoteattr(names[-1])}>{folder(tree, "INSTALLDIR")}'
            registry = []
            for i, (key, name, kind, value) in enumerate(self.registry):
                attrs = f'Root="HKLM" Key={quoteattr(key)} Type="{kind}" Value={quoteattr(value)}'
                if name is not None:
                    attrs += f" Name={quoteattr(name)}"
                if i == 0:
                    attrs += ' KeyPath="yes"'
                registry.append(f"<RegistryValue {attrs}/>")
            if registry:
                counter[0] += 1
                inner += component("registry", "".join(registry))
            inner += "</Directory>"
            for name in reversed(names[:-1]):
                inner = f'<Directory Id="d{guid(self.code + name)[1:9]}" Name={quoteattr(name)}>{inner}</Directory>'
            body += f'<Directory Id="{root}">{inner}</Directory>'
        elif self.registry:
            raise ValueError("registry values need an install folder")
        if self.system_files:
            parts = []
            for name, content in self.system_files.items():
                src = source(name, content)
                parts.append(component("system\\" + name, f'<File Id="s{counter[0]}" Name={quoteattr(name)} '
                                                           f'Source="{src}" KeyPath="yes"/>'))
                if self.keep_system_files:
                    kept.append(refs[-1])
            body += f'<Directory Id="SystemFolder">{"".join(parts)}</Directory>'
        properties = '<Property Id="ARPSYSTEMCOMPONENT" Value="1"/>' if self.hidden else ""
        wxs = f"""<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="{self.code}" Name={quoteattr(self.name)} Language="1033" Version="{self.version}"
           Manufacturer="Orvanto demo repository" UpgradeCode="{guid(self.name + ' upgrade')}">
    <Package InstallerVersion="200" Compressed="yes" InstallScope="perMachine"/>
    <Media Id="1" Cabinet="payload.cab" EmbedCab="yes"/>
    {properties}
    <Directory Id="TARGETDIR" Name="SourceDir">{body}</Directory>
    <Feature Id="Main" Level="1">{"".join(f'<ComponentRef Id="{r}"/>' for r in refs)}</Feature>
  </Product>
</Wix>
"""
        with open(os.path.join(work, "package.wxs"), "w") as f:
            f.write(wxs)
        target = os.path.join(work, self.file)
        subprocess.run(["wixl", "-a", "x86", "-o", target, "package.wxs"], cwd=work, check=True)
        for component_id in kept:  # wixl has no attributes for it: 128 never overwrite + 16 permanent
            subprocess.run(["msibuild", target, "-q",
                            f"UPDATE `Component` SET `Attributes` = 144 WHERE `Component` = '{component_id}'"],
                           check=True)
        with open(target, "rb") as f:
            return f.read()


def bundle(packages, cache=None, search_path=None, relaunch=None, command=None, pip_archive=None):
    """The bootstrapper with its packages appended (see setups/bundle.cpp); `cache`
    is (folder, file name) of its copy in the package cache."""
    with open(BUNDLE, "rb") as f:
        data = f.read()
    manifest = ""
    for package in packages:
        payload = package.build()
        data += payload
        manifest += f"package {len(payload)} {package.code}\n"
    if cache:
        manifest += "cache %s %s\n" % cache
    if search_path:
        manifest += f"searchpath {search_path}\n"
    if relaunch:
        manifest += f"relaunch {relaunch}\n"
    if command:
        manifest += f"command {command}\n"
    if pip_archive:
        manifest += "pip %s %s\n" % pip_archive
    encoded = manifest.encode()
    return data + encoded + struct.pack("<I", len(encoded)) + b"ORVBNDL1"


def marker(name):
    """The registry value that is the key path of a package without files."""
    return ("SOFTWARE\\HALVENOR AS\\Demo repository\\" + name, "Installed", "string", "1")


def redistributable(file, code, name, version):
    return Package(file, code, name, version, ("ProgramFilesFolder", ["Orvanto demo repository", name]),
                   registry=[marker(name)])


def bundle_entry(key, file, display_name, display_version):
    """Uninstall entry of a bootstrapper: it starts the cached copy with "/uninstall"
    (a fixed path, so that a repair of the package writes the same value)."""
    k = UNINSTALL + key
    copy = f"[CommonAppDataFolder]Package Cache\\{key}\\{file}"
    return [(k, "DisplayName", "string", display_name), (k, "DisplayVersion", "string", display_version),
            (k, "Publisher", "string", "Orvanto demo repository"),
            (k, "UninstallString", "string", f'"{copy}" /uninstall'),
            (k, "QuietUninstallString", "string", f'"{copy}" /uninstall /quiet'),
            (k, "BundleCachePath", "string", copy)]


# ---- Optional components ---------------------------------------------------------------------------

def read(path):
    with open(path, "rb") as f:
        return f.read()


def uninstaller(products, title=None, child="none"):
    """The stand-in uninstaller (setups/uninstaller.cpp) and its settings: with a
    child name it removes from a copy of itself under that name (with a window
    when a title is given), with "none" in its own process."""
    settings = ([f"title {title}"] if title else []) + [f"child {child}"] + [f"product {p}" for p in products]
    return {"uninstall.exe": read(UNINSTALLER), "uninstall.txt": "\n".join(settings) + "\n"}


class Standin:
    """An optional component: a package under "Orvanto demo repository\\<folder>" with
    its registry values ([INSTALLDIR] and [SystemFolder] expand); `key` names the
    Uninstall entry it writes with `values`, and `remover` (title, child) adds the
    stand-in uninstaller that the entry's `command` value starts."""

    def __init__(self, name, version, code=None, key=None, values=None, remover=None,
                 command="UninstallString", command_args="", files=None, registry=None, hidden=None):
        self.code = code or guid("standin " + name)
        files = dict(files or {})
        registry = list(registry or [])
        values = dict(values or {})
        if remover is not None:
            title, child = remover
            files.update(uninstaller([self.code], title, child))
            values[command] = '"[INSTALLDIR]uninstall.exe"' + command_args
        if key:
            registry += [(UNINSTALL + key, n, "string", v) for n, v in values.items()]
        if not registry:
            registry = [marker(name)]
        folder = name.replace("/", "-")
        self.package = Package(name.replace("/", "-") + ".msi", self.code, name, version,
                               ("ProgramFilesFolder", ["Orvanto demo repository", folder]), files,
                               registry=registry, hidden=code is None if hidden is None else hidden)

    def msi(self):
        return self.package.build()

    def setup(self):
        return bundle([self.package])


def optional_components(put):
    cam = THIRD_PARTY
    # Windows Installer products (removed by product code).
    for bits in ["64", "32"]:
        put(f"{cam}/Basler", f"pylon 4 Runtime x{'64' if bits == '64' else '86'} 4.0.1.3425.msi", Standin(
            f"Basler pylon 4 Runtime 4.0.1.3425 - {bits} bit", "4.0.3425", "{37A8A264-ADAE-4226-BA66-B9FE9FFB1F89}").msi())
    put(f"{cam}/Basler", "Basler pylon SDK x64 2.3.5.2633.exe", Standin(
        "Basler pylon SDK 2.3.5.2633 - 64 bit", "2.3.2633", "{D7F97581-F17B-48AD-B4BB-634AF0F78D39}").setup())
    put(f"{cam}/Basler", "Basler pylon SDK x86 2.3.5.2633.exe", Standin(
        "Basler pylon SDK 2.3.5.2633 - 32 bit", "2.3.2633", "{2393D986-319B-40BF-AEBD-6E0EFC5B5F57}").setup())
    for file in ["Basler pylon SDK x64 3.2.3.3215.exe", "Basler pylon SDK x86 3.2.3.3215_EN_.exe"]:
        put(f"{cam}/Basler", file, Standin("Basler pylon SDK 3.2.3.3215", "3.2.3215",
                                           "{7701C433-7FAB-43ED-B117-762AC408A61C}").setup())
    for file in ["Basler pylon x64 4.2.2.5468.exe", "Basler pylon x86 4.2.2.5468.exe"]:
        put(f"{cam}/Basler", file, Standin("pylon 4 Camera Software Suite 4.2.2.5468", "4.2.5468",
                                           "{01F5DEBA-9FCF-4D3A-B0F6-74D29B5F8651}").setup())
    put(f"{cam}/AVT", "AVTUniversalPackage_2.2.0.exe", Standin(
        "AVT Universal Package 2.2.0", "2.2.0", "{E15958CD-D2FC-47ED-AE1A-57C9FEC1DC84}").setup())
    put(f"{cam}/AVT", "AVTFirePackage_2_11.exe", Standin(
        "AVT Fire Package 2.11", "2.11", "{4E3FA21E-D211-49FE-B40E-360A78AF8B31}").setup())
    zcl = "{1A23CB3F-7B04-4CFD-80BE-81D2ACB10167}"
    for bits, arch in [("64", "x64"), ("32", "x86")]:
        put(f"{cam}/SonyZCL/2.12", f"SonyZCL_2.12_setup_{arch}_RC1.exe",
            Standin(f"ZCL for SONYGigECAM 2.12 - {bits} bit", "2.12", zcl).setup())
        for system in ["7", "8"]:
            put(f"{cam}/SonyZCL/2.12.2", f"Sony_ZCL_SDK_v2.12.2_Win{system}_{bits}bit.exe",
                Standin(f"ZCL for SONYGigECAM 2.12.2 - Windows {system} ({bits} bit)", "2.12.2", zcl).setup())
    put(f"{cam}/Microsoft", "PowerToysSetup-0.20.1-x64.msi", Standin(
        "PowerToys (Preview) 0.20.1", "0.20.1", "{B838E9AD-531C-43A5-B0F8-2A6C2759E84F}").msi())
    for arch in ["x64", "x86"]:
        put(f"{cam}/TortoiseHg", f"tortoisehg-3.6.3-{arch}.msi", Standin(
            f"TortoiseHg 3.6.3 ({arch})", "3.6.3", "{CCE041AD-0927-4992-85C1-C9B683BE3783}").msi())
    put("orvanto/files/InstallerDownloads/OrvantoWatchdog", "Orvanto_Watchdog_3_0_0_11_200130_Beta.exe", Standin(
        "Orvanto Watchdog 3.0.0.11", "3.0.0.11", "{0339BD1D-BA38-4F90-A2FD-CC136286A463}").setup())
    # The OPC client with its control in each mode and its folder in the maker's key.
    ocx = read(OCX)
    put("orvanto/files/InstallerDownloads/OrvantoPlantOPCClient", "Orvanto_PlantOPCClient_1.9.0.28_171112.exe", Standin(
        "Orvanto PlantOPCClient 1.9.0.28", "1.9.0.28", "{FC84F31D-53C5-49CC-A799-80BFF4724731}",
        files={f"ActiveX\\{mode}\\PlantOPCClientX.ocx": ocx
               for mode in ["Matrikon_OPCAutomation", "Siemens_DAAutomation", "Siemens_OPCAutomation"]}
        | {"Python\\plantopcclientx.py": module("plantopcclientx", "OPC client binding")},
        registry=[("SOFTWARE\\HALVENOR AS\\Orvanto PlantOPCClient 1.9.0.28", "InstallPath", "string",
                   "[INSTALLDIR]")]).setup())

    # Setups whose own uninstaller a registered command starts (InstallShield and
    # Inno-style entries), in the uninstaller's own process.
    for name, code, file in [
            ("ubCore 6.00 Pro 1394a - 1394b drivers", "{F65FE148-FCF5-42F7-8803-FA0B7DA8B8A4}", None),
            ("Fire-i Application 4.0 - 64 bit", "{7FC31537-1378-4B54-9BB6-1F43F4C6AE46}", "Firei/FireiSetupX64_112912.exe"),
            ("Fire-i Application 4.0 - 32 bit", "{1AAA20E7-B683-4F94-A14C-C8186D0EC55F}", "Firei/FireiSetupX86_112912.exe"),
            ("DAQNavi PCI-1730 3.1.1.0", "{6D3F63BF-82B3-402C-B904-19970D4718F6}", "Advantech/DAQNavi_PCI1730_PCM3730I_3.1.1.0.exe"),
            ("DAQNavi USB-4711A 3.1.3.0", "{6D87DA37-CBC4-46E2-9183-91B52DC60D02}", "Advantech/DAQNavi_USB4711A_3.1.3.0.exe"),
            ("DAQNavi USB-4750 3.1.1.0", "{E8881CC8-EB89-49FA-B2A5-986488C75164}", "Advantech/DAQNavi_USB4750_3.1.1.0.exe"),
            ("DAQNavi SDK and Drivers 3.1.4.0", "{88B93413-6464-4DBB-AFDF-400AEEB20E7D}", "Advantech/DAQNavi_SDK&Drivers_3.1.4.0.exe")]:
        version = name.split()[-1] if name.startswith("DAQNavi") else "6.0"
        setup = Standin(name, version, code, key="InstallShield_" + code, values={"DisplayName": name},
                        remover=(None, "none"), command_args=" -runfromtemp -l0x0409 -removeonly").setup()
        for target in ([file] if file else ["ubCore/ubCorePro64_112912.exe", "ubCore/ubCorePro32_112912.exe"]):
            folder, base = target.split("/")
            put(f"{cam}/{folder}", base, setup)
    for name, key, display, file, version in [
            ("Imaging Source - IC Capture 2.3", "ICCapture22_is1", "IC Capture 2.3", "ImagingSource/setup_iccapture.en_US.exe", "2.3"),
            ("IC Imaging Control 3.5 C++ Class Library V3.5.5.3963", "IC Imaging Control 3.5 C++ Class Library_is1",
             "IC Imaging Control 3.5 C++ Class Library version 3.5.5.3963", "ImagingSource/ic35_cpp_setup_3.5.5.3963.exe", "3.5.5"),
            ("Tera Term 4.88", "Tera Term_is1", "Tera Term 4.88", "TeraTerm/teraterm-4.88.exe", "4.88"),
            ("PerformanceTest 8.0", "PerformanceTest 8_is1", "PerformanceTest 8.0", "Passmark/PerformanceTest_8.0_Setup.exe", "8.0.1022")]:
        folder, base = file.split("/")
        put(f"{cam}/{folder}", base, Standin(
            name, version, key=key, values={"DisplayName": display, "DisplayVersion": version + (".0" if name.startswith("Perf") else "")},
            remover=(None, "none"), command="QuietUninstallString", command_args=" /VERYSILENT /SUPPRESSMSGBOXES").setup())
    # The I/O utility: a package under an upper-case name whose own entry's
    # command the shell opens.
    adam = "{E0372F59-9433-4342-B0B2-5B06C42C1773}"
    # The utility's own package leaves no value under the old installer's
    # Uninstall key: such a value is a leftover that reads "Version Mismatch".
    put(f"{cam}/Advantech", "ADAMAPAX .NET UTILITY V2.05.10 B04.MSI", Standin(
        "Adam/Apax .NET Utility 2.05.10", "2.05.10", adam).msi())

    # Setups whose uninstaller goes on in a copy of itself that the removal
    # follows: by its window (remote control, Speccy) or its image name (MVS).
    for name, key, version, title, file in [
            ("Orvanto TeamViewer 8 Host", "TeamViewer 8 Host", "8.0.18930", "TeamViewer 8 Host Uninstall",
             "TeamViewer/Orvanto_TeamViewer_8_Host_Setup.exe"),
            ("Orvanto TeamViewer 13 Host", "TeamViewer", "13.0.5640", "TeamViewer 13 Host Uninstall ",
             "TeamViewer/Orvanto_TeamViewer_13_Host_Setup.exe"),
            ("Speccy v1.25", "Speccy", "1.25", "Speccy v1.25 Uninstall", "Piriform/spsetup125.exe")]:
        folder, base = file.split("/")
        put(f"{cam}/{folder}", base, Standin(name, version, key=key,
                                             values={"DisplayName": name, "DisplayVersion": version},
                                             remover=(title, "uninstall-copy.exe")).setup())
    # Adobe's reader: its product key is all that detection asks; it has no removal.
    put(f"{cam}/AdobeAcrobatReader", "AdbeRdr11000_en_US.exe", Standin(
        "Adobe Acrobat Reader", "11.0", registry=[("SOFTWARE\\Adobe\\Acrobat Reader\\11.0", "Version", "string",
                                                   "11.0.0")]).setup())
    # The remote viewer: the removal starts its uninstaller, waits for the
    # uninstaller's window to come and go, then removes the package.
    for bits, code in [("64", "{D71C967C-8709-4334-BF16-952469E96DCD}"), ("32", "{981B8EDC-E693-4F22-9694-C0FF8E56F134}")]:
        put(f"{cam}/TightVNC", f"tightvnc-2.6.4-setup-{bits}bit.msi", Standin(
            f"TightVNC 2.6.4 - {bits} bit", "2.6.4.0", code, key="TightVNC",
            values={"DisplayName": "TightVNC", "DisplayVersion": "2.6.4.0"},
            remover=("TightVNC Uninstall ", "uninstall-copy.exe")).msi())
    # The later pylon suites: one Uninstall entry each, removed oldest first.
    for name, key, version, file in [
            ("pylon 5 Camera Software Suite 5.0.5.8999", "{4f492672-60bc-405e-ab6a-9e51ebb2f609}", "5.0.5.8999",
             "Basler_pylon_5.0.5.8999.exe"),
            ("pylon 5 Camera Software Suite 5.0.10.10613", "{ffcf4e1b-f1d3-445b-8821-27942b95bc88}", "5.0.10.10613",
             "Basler_pylon_5.0.10.10613_Full.exe"),
            ("pylon 5 Camera Software Suite 5.0.12.11830", "{3ba2c6e4-350c-4929-b790-ca0aca3cfdfe}", "5.0.12.11830",
             "Basler_pylon_5.0.12.11830.exe"),
            ("pylon 6 Camera Software Suite 6.1.0.19674", "{abb3d5f4-60c0-4322-b3ca-218ade521495}", "6.1.0.19674",
             "Basler_pylon_6.1.0.19674.exe")]:
        put(f"{cam}/Basler", file, Standin(name, version, key=key,
                                           values={"DisplayName": name, "DisplayVersion": version},
                                           remover=(None, "none"), command_args=" /uninstall").setup())
    # The OPC test client: an archive whose setup hands over to a helper that
    # the installation follows; its entry's command is split at the first blank.
    scout = Standin("SIMATIC NET OPC CLIENT V6.2 Build 3133", "6.2.3133", key="OPC CLIENT",
                    values={"DisplayName": "SIMATIC NET OPC CLIENT V6.2 Build 3133"})
    scout.package.registry.append((UNINSTALL + "OPC CLIENT", "UninstallString", "string",
                                   f"[SystemFolder]msiexec.exe /X{scout.code} /qn"))
    archive = io.BytesIO()
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("disk1/setup.exe", bundle([scout.package], relaunch="_isdel.exe"))
    put(f"{cam}/OPCScout", "SIMATIC_NET_OPC_Client_V6.2_3133.zip", archive.getvalue())
    # The OPC simulation server: a wrapped package whose product's own entry
    # names the setup's cached copy.
    matrikon = "{0D0DBA0E-69F7-45AD-9D09-2E61E1B41190}"
    put(f"{cam}/Matrikon", "MatrikonOPCSimulation_1.5.0.0.EXE", bundle(
        [Standin("MatrikonOPC Server for Simulation", "1.5.0.0", matrikon).package],
        cache=(matrikon, "MatrikonOPCSimulation_1.5.0.0.EXE"), command=matrikon))
    # The cycle controller: an archive unpacked into its program folder.
    archive = io.BytesIO()
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("gui/CycleController.gui.exe", program())
        for part in ["gui/CycleController.Client.dll", "gui/CycleController.Core.dll",
                     "gui/CycleController.RemoteInterface.dll", "gui/Interop.CycleIO.dll", "gui/Interop.CycleTimer.dll",
                     "gui/CycleController.Logging.dll", "client/CycleController.Client.dll",
                     "client/CycleController.RemoteInterface.dll", "client/CycleController.Logging.dll"]:
            z.writestr(part, f"{part.split('/')[-1]} (demo repository stand-in)\r\n")
    put("orvanto/CycleController", "CycleController_1.0.0.1(3587).zip", archive.getvalue())
    # The camera driver archive: its driver installer runs for every camera.
    archive = io.BytesIO()
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("drvInstaller.exe", program())
        z.writestr("readme.txt", "USB camera driver 2.6.5 (demo repository stand-in).\r\n")
    put(f"{cam}/ImagingSource", "usbcam_2.6.5_tis_02.zip", archive.getvalue())

    for version, key, file in [("2.2.3", "MVS", "MVS_STD_2.2.3_170728.exe"), ("2.3.1", "MVS", "MVS_STD_2.3.1_171129.exe"),
                               ("2.4.0", "HIK_MVS", "MVS_STD_2.4.0_180329.exe"), ("3.0.0", "HIK_MVS", "MVS_STD_3.0.0_180723.exe"),
                               ("3.1.0", "HIK_MVS", "MVS_STD_3.1.0_181229.exe"),
                               ("3.2.0.3", "MVS SDK Runtime x86", "MVS_SDK_V3_2_0_VC90_Runtime_190626.exe")]:
        put(f"{cam}/Hikvision", file, Standin(
            "MVS " + version[:5], version, key=key, values={"DisplayName": "MVS", "DisplayVersion": version},
            remover=(None, "Au_.exe" if key == "MVS" else "Un_A.exe")).setup())


def python27(version, code, chm):
    # The interpreter runs "python.exe -m pip ..." with the same stand-in pip.
    files = {"python.exe": pip(), "Scripts\\pip.exe": pip(),
             f"Doc\\{chm}": f"Python {version} documentation (demo repository stand-in)\n",
             "Tools\\scripts\\2to3.py": "# 2to3 conversion tool (demo repository stand-in)\n",
             "Lib\\os.py": f"# Python {version} standard library (demo repository stand-in)\n",
             "LICENSE.txt": "Demo repository stand-in of the Python interpreter.\n"}
    return Package(f"python-{version}.msi", code, f"Python {version}", version + "150",
                   ("WindowsVolume", ["Python27"]), files,
                   system_files={"Python27.dll": f"Python {version} interpreter library (stand-in)\n"},
                   registry=[("Software\\Python\\PythonCore\\2.7\\InstallPath", None, "string", "[INSTALLDIR]")])


def python36():
    folder = ("ProgramFilesFolder", ["Python36-32"])
    core = Package("python-3.6.6-core.msi", guid("Python 3.6.6 Core Interpreter"),
                   "Python 3.6.6 Core Interpreter (32-bit)", "3.6.6150.0", folder,
                   {"python.exe": pip(), "Python36.dll": "Python 3.6.6 interpreter library (stand-in)\n",
                    "Scripts\\pip.exe": pip(),
                    "Tools\\scripts\\2to3.py": "# 2to3 conversion tool (demo repository stand-in)\n",
                    "Lib\\os.py": "# Python 3.6.6 standard library (demo repository stand-in)\n"},
                   registry=[("Software\\Python\\PythonCore\\3.6-32\\InstallPath", None, "string", "[INSTALLDIR]"),
                             ("Software\\Python\\PythonCore\\3.6-32", "DisplayName", "string", "Python 3.6 (32-bit)"),
                             ("Software\\Python\\PythonCore\\3.6-32", "Version", "string", "3.6.6")]
                   + bundle_entry(PYTHON36_KEY, "python-3.6.6.exe", "Python 3.6.6 (32-bit)", "3.6.6150.0"),
                   hidden=True)
    docs = Package("python-3.6.6-doc.msi", guid("Python 3.6.6 Documentation"),
                   "Python 3.6.6 Documentation (32-bit)", "3.6.6150.0", folder,
                   {"Doc\\python366.chm": "Python 3.6.6 documentation (demo repository stand-in)\n"},
                   hidden=True)
    return [core, docs]


# ---- Content catalogues ---------------------------------------------------------------------------
# The lists hold absolute addresses; scripts/serve-repository writes its own
# address where they say @@SERVER@@.

LISTS = "orvanto/files/InstallerRepositories/Orvanto15.0/774/OrvantoVisionSoftware"
PACKAGE_LISTS = "orvanto/files/InstallerRepositories/Orvanto15.0/774/PythonPackages"
SERVER = "@@SERVER@@/" + LISTS


def archive(files):
    """A zip archive of {path: text}, with a fixed time so that builds repeat."""
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", zipfile.ZIP_DEFLATED) as z:
        for name, content in files.items():
            z.writestr(zipfile.ZipInfo(name, (2020, 8, 31, 12, 0, 0)), text(content))
    return buffer.getvalue()


def sectioned(entries):
    """A sectioned list: one header per entry (headers repeat), then its keys."""
    out = ""
    for group, keys in entries:
        out += f"[{group}]\n" + "".join(f"{k}={v}\n" for k, v in keys.items() if v is not None) + "\n"
    return out


def profile(put, folder, group, name, class_name, offered, installed=None, info_text=None, info_url=None):
    """A demo profile entry and its archive (top folder: the class name)."""
    put(f"{LISTS}/{folder}", class_name + ".zip", archive({
        f"{class_name}/Orvanto.Opb": f"Orvanto profile {name} (demo repository stand-in)\n",
        f"{class_name}/General.Ini": f"[Identification]\nName={name}\nVersionLabel={installed or offered}\n"}))
    return (group, {"Name": name, "ClassName": class_name, "VersionLabel": offered,
                    "URL": f"{SERVER}/{folder}/{class_name}.zip", "InfoText": info_text, "InfoURL": info_url})


def template(put, folder, group, name, class_name, offered, archived, info_text=None):
    """A template entry; its archive's top folder is "<ClassName>_<archived>"."""
    put(f"{LISTS}/{folder}", f"{class_name}.zip", archive({
        f"{class_name}_{archived}/{class_name}.py": f"# Tool component {name} {archived} (demo repository stand-in)\n"}))
    return (group, {"Name": name, "ClassName": class_name, "VersionLabel": offered,
                    "URL": f"{SERVER}/{folder}/{class_name}.zip", "InfoText": info_text})


def catalogues(put_data):
    def put(folder, name, data):
        put_data(folder, name, text(data))

    info = "@@SERVER@@/orvanto/info/"
    put("orvanto/info", "blob-inspection.html", "<html><body>Blob inspection demo profile</body></html>\n")
    names = ["Blob Inspection", "Edge Gauge", "Hole Counter", "Label Check", "Barcode Reader", "Colour Sorter",
             "Gap Measure", "Pin Inspection", "Seal Check", "Print Quality", "Cap Presence", "Fill Level",
             "Surface Scratch", "Date Code OCR"]
    demo = []
    for i, name in enumerate(names):
        class_name = name.replace(" ", "")
        demo.append(profile(put, "DemoProfiles", "2D", name, class_name, f"1.0.0.{i + 1}",
                            # installed with another version than the one offered
                            installed="1.0.0.0" if class_name == "EdgeGauge" else None,
                            info_url=info + "blob-inspection.html" if i == 0 else None,
                            info_text="Counts the blobs of a part and checks their size" if i in (0, 1) else None))
    demo.append(profile(put, "DemoProfiles", "3D", "2D / 3D Blob", "Blob3D", "2.0.0.1"))
    demo.append(profile(put, "DemoProfiles", "3D", "Height Map", "HeightMap", "2.0.0.2"))
    demo.append(profile(put, "DemoProfiles", "Communication", "Modbus Report", "ModbusReport", "1.2.0.0"))
    put(LISTS, "774demo.txt", sectioned(demo))

    demo36 = [profile(put, "DemoProfilesPy36", "Python 3.6", name + " (Py36)", name.replace(" ", "") + "Py36",
                      f"3.6.0.{i + 1}") for i, name in enumerate(names[:5])]
    demo36.append(profile(put, "DemoProfilesPy36", "Deep Learning", "Defect Classifier", "DefectClassifierPy36",
                          "3.6.1.0", info_text="Needs the Python 3.6 interpreter"))
    put(LISTS, "774demoPy36.txt", sectioned(demo36))

    # One template per state once installed: equal, older and newer archives,
    # and one whose folder suffix is no version at all.
    otc = [template(put, "Templates", "2D", "Blob Counter", "BlobCounter", "1.0.0.2", "1.0.0.2",
                    info_text="Counts blobs in a region"),
           template(put, "Templates", "2D", "Edge Finder", "EdgeFinder", "1.0.0.5", "1.0.0.3"),
           template(put, "Templates", "2D", "Colour Match", "ColourMatch", "1.0.0.1", "2.0.0.0"),
           template(put, "Templates", "2D", "Nightly Tool", "NightlyTool", "1.0.0.0", "latest"),
           template(put, "Templates", "Communication", "Modbus Writer", "ModbusWriter", "1.1.0.0", "1.1.0.0"),
           template(put, "Templates", "Communication", "OPC Reader", "OpcReader", "1.0.2.0", "1.0.2.0")]
    put(LISTS, "774OTC.txt", sectioned(otc))
    otc36 = [template(put, "TemplatesPy36", "Python 3.6", "Array Filter (Py36)", "ArrayFilterPy36", "3.6.0.1", "3.6.0.1"),
             template(put, "TemplatesPy36", "Python 3.6", "Json Export (Py36)", "JsonExportPy36", "3.6.0.2", "3.6.0.2")]
    put(LISTS, "774OTCPy36.txt", sectioned(otc36))

    documents(put, put_data)
    # Package sets: names that share a prefix, one set whose component the
    # installer does not know, one with a wheel that pip rejects.
    for version, packages in [("27", PY27_SETS), ("36", PY36_SETS)]:
        put(PACKAGE_LISTS, f"774Py{version}Packages.txt", "".join(
            f"[{section}]\n" + "".join(f"{k}={v}\n" for k, v in keys.items()) + "\n"
            for section, keys in packages))


# ---- Python packages ------------------------------------------------------------------------------

MODULES27 = "orvanto/files/InstallerDownloads/_Modules/Py27"
MODULES36 = "orvanto/files/InstallerDownloads/_Modules/Py36"
# The wheel that pip rejects (the stand-in pip refuses content beginning with "invalid").
BAD_WHEELS = {f"{MODULES27}/scipy/scipy-1.1.0-cp27-cp27m-win32.whl",
              f"{MODULES36}/scipy/scipy-1.3.0-cp36-cp36m-win32.whl"}

PY27_SETS = [
    ("Orvanto 15.0 Standard", {"pywin": "pywin32-223.win32-py2.7", "pyserial": "pyserial-3.4-py2.py3-none-any",
                               "numpy": "numpy-1.16.4+mkl-cp27-cp27m-win32", "scipy": "scipy-1.2.2-cp27-cp27m-win32",
                               "opencv-python": "opencv_python-4.2.0.32-cp27-cp27m-win32"}),
    ("Orvanto 15.0 Standard (old setups)", {"pywin": "pywin32-219.win32-py2.7", "pyserial": "pyserial-2.7.win32",
                                            "numpy": "numpy-1.10.2-python2.7", "scipy": "scipy-0.16.1-python2.7",
                                            "MySQL-python": "MySQL-python-1.2.4b4.win32-py2.7"}),
    ("Orvanto 15.0 Deep Learning", {"numpy": "numpy-1.16.4-cp27-cp27m-win32", "scipy": "scipy-1.1.0-cp27-cp27m-win32",
                                    "opencv-python": "opencv_contrib_python-4.2.0.32-cp27-cp27m-win32"}),
    ("Orvanto 16.0 Preview", {"numpy": "numpy-1.17.0-cp27-cp27m-win32"}),
]
PY36_SETS = [
    ("Orvanto 15.0 Python 3.6", {"pywin": "pywin32-223-cp36-cp36m-win32",
                                 "pyserial": "pyserial-3.4-py2.py3-none-any-py36",
                                 "numpy": "numpy-1.16.4-cp36-cp36m-win32", "scipy": "scipy-1.3.1-cp36-cp36m-win32",
                                 "opencv-python": "opencv_python-4.2.0.34-cp36-cp36m-win32",
                                 "Python.net": "pythonnet-2.3.0-cp36-cp36m-win32"}),
    ("Orvanto 15.0 Python 3.6 Contrib", {"numpy": "numpy-1.16.4+mkl-cp36-cp36m-win32",
                                         "scipy": "scipy-1.2.0-cp36-cp36m-win32",
                                         "opencv-python": "opencv_contrib_python-4.2.0.34-cp36-cp36m-win32",
                                         "Python.net": "pythonnet-2.3.0-cp36-cp36m-win32"}),
    ("Orvanto 15.0 Python 3.6 Deep Learning", {"numpy": "numpy-1.15.4-cp36-none-win32",
                                               "scipy": "scipy-1.3.0-cp36-cp36m-win32",
                                               "opencv-python": "opencv_python-4.1.0.25-cp36-cp36m-win32"}),
    ("Orvanto 16.0 Preview", {"numpy": "numpy-1.17.0-cp36-cp36m-win32"}),
]

# Optional extensions: (package, file) per interpreter; the server folder is
# the package name except for Theano.
OPTIONAL27 = [("matplotlib", "matplotlib-2.2.4-cp27-cp27m-win32.whl"),
              ("scikit-learn", "scikit_learn-0.20.3-cp27-cp27m-win32.whl"),
              ("scikit-image", "scikit_image-0.14.2-cp27-none-win32.whl"),
              ("Keras", "Keras-2.2.4-py2.py3-none-any.whl"), ("Sphinx", "Sphinx-1.8.5-py2.py3-none-any.whl"),
              ("enum34", "enum34-1.1.6-py2-none-any.whl"), ("paho-mqtt", "paho-mqtt-1.4.0.tar.gz"),
              ("opcua", "opcua-0.98.7.tar.gz"), ("Shapely", "Shapely-1.6.4.post2-cp27-cp27m-win32.whl"),
              ("six", "six-1.12.0-py2.py3-none-any.whl"), ("theano", "Theano-1.0.4.tar.gz"),
              ("imutils", "imutils-0.5.2.tar.gz")]
OPTIONAL36 = [("Keras", "Keras-2.2.4-py2.py3-none-any.whl"), ("matplotlib", "matplotlib-3.1.0-cp36-cp36m-win32.whl"),
              ("scikit-learn", "scikit_learn-0.21.2-cp36-cp36m-win32.whl"),
              ("scikit-image", "scikit_image-0.15.0-cp36-none-win32.whl"),
              ("Sphinx", "Sphinx-2.0.1-py2.py3-none-any.whl"), ("enum34", "enum34-1.1.6-py3-none-any.whl"),
              ("paho-mqtt", "paho-mqtt-1.4.0.tar.gz"), ("opcua", "opcua-0.98.7.tar.gz"),
              ("Shapely", "Shapely-1.7.0-cp36-cp36m-win32.whl"), ("six", "six-1.12.0-py2.py3-none-any.whl"),
              ("theano", "Theano-1.0.4.tar.gz"), ("imutils", "imutils-0.5.2.tar.gz")]

# Old stand-alone Python 2.7 setups: (server folder, file, Uninstall key, display name).
LEGACY27 = [("pywin", "pywin32-219.win32-py2.7.exe", "pywin32-py2.7", "Python 2.7 pywin32-219"),
            ("pywin", "pywin32-221.win32-py2.7.exe", "pywin32-py2.7", "Python 2.7 pywin32-221"),
            ("pywin", "pywin32-223.win32-py2.7.exe", "pywin32-py2.7", "Python 2.7 pywin32-223"),
            ("pyserial", "pyserial-2.7.win32.exe", "pyserial-py2.7", "Python 2.7 pyserial-2.7"),
            ("scipy", "scipy-0.16.1-win32-superpack-python2.7.exe", "scipy-py2.7", "Python 2.7 scipy-0.16.1"),
            ("numpy", "numpy-1.10.2-win32-superpack-python2.7.exe", "numpy-py2.7", "Python 2.7 numpy-1.10.2"),
            ("MySQLPython", "MySQL-python-1.2.4b4.win32-py2.7.exe", "MySQL-python-py2.7",
             "Python 2.7 MySQL-python-1.2.4b4")]


def wheel_file(name):
    """The file of a wheel row: the name with "-" for "+" and ".whl"."""
    return name.replace("+", "-") + ".whl"


def python_packages(put):
    def package_file(folder, name):
        path = f"{folder}/{name}"
        put(folder, name, text(("invalid wheel " if path in BAD_WHEELS else "stand-in package ") + name + "\n"))

    for folder, file, key, display in LEGACY27:
        # Writes its Uninstall key and nothing that pip would know of.
        put(f"{MODULES27}/{folder}", file, Standin(display, "1.0.0", key=key, values={"DisplayName": display},
                                                   remover=(None, "none")).setup())
    for server, sets in [(MODULES27, PY27_SETS), (MODULES36, PY36_SETS)]:
        for _, keys in sets:
            for slot, name in keys.items():
                if not any(part in name for part in ("-cp2", "-cp3", "-none-")):
                    continue  # an old setup, listed above
                folder = {"pywin": "pywin", "pyserial": "pyserial", "numpy": "numpy", "scipy": "scipy",
                          "opencv-python": "OpenCV", "Python.net": "PythonNet"}[slot]
                package_file(f"{server}/{folder}", wheel_file(name.replace("-any-py36", "-any")))
    for name in ["pythonnet-2.3.0-cp27-cp27m-win32"]:
        package_file(f"{MODULES27}/PythonNet", wheel_file(name))
    for server, optional in [(MODULES27, OPTIONAL27), (MODULES36, OPTIONAL36)]:
        for folder, file in optional:
            package_file(f"{server}/{folder}", file)
    # dxfgrabber's own setup registers the module with pip.
    put(f"{MODULES27}/dxfgrabber", "dxfgrabber-0.7.5.win32-py2.7.exe", bundle(
        [Standin("Python 2.7 dxfgrabber-0.7.5", "0.7.5").package], pip_archive=("dxfgrabber-0.7.5.tar.gz", "dxfgrabber")))


# ---- Modules and the 3D toolbox -------------------------------------------------------------------
# The file names that detection checks are read from the installer's own
# tables, so that the archives cannot drift from them.

MODULES = "orvanto/files/InstallerDownloads/_Modules"
TOOLBOXES = "orvanto/files/InstallerDownloads/OrvatoTemplateToolboxes"
TOOLBOX_SERVER = "@@SERVER@@/" + TOOLBOXES


def file_table(name):
    import re
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "install", "FileSets.cpp")) as f:
        source = f.read()
    body = re.search(r"const char\* const " + name + r"\[\] = \{(.*?)\};", source, re.S).group(1)
    return [item.replace("\\\\", "\\") for item in re.findall(r'"((?:[^"\\]|\\.)*)"', body)]


def toolbox_files(build):
    """A build's archive: its assemblies at the top, its scripts in "Python"."""
    assemblies = ["alglibnet2.dll", "DeepformModel.Core.dll", "DeepformModel.Geometry.dll",
                  "DeepformModel.Numerics.dll", "DeepformModel.Vision.dll"]
    scripts = file_table("kDeepformScripts")
    if build >= 550:
        assemblies.append("ConvNetSharp.dll")
    if build >= 719:
        assemblies.append("Newtonsoft.Json.dll")
        scripts.append("OTC_0110_PointCloudFilter.py")
    files = {name: f"{name}: Deepform Vision build {build} (stand-in)\n" for name in assemblies}
    files.update({f"Python/{name}": module(name, f"Deepform Vision tool, build {build}") for name in scripts})
    return files


def readme(title):
    return ("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 {\\b " + title + "}\\par\n"
            "Demo repository stand-in of the build's release notes.\\par\n}\n")


def modules_and_toolboxes(put_data):
    def put(folder, name, data):
        put_data(folder, name, text(data))

    ipp = {}
    for prefix in ["", "threaded/"]:
        for domain in file_table("kIppDomains"):
            for cpu in [""] + file_table("kIppCpuSuffixes"):
                ipp[f"{prefix}ipp{domain}{cpu}.dll"] = f"IPP {domain}{cpu} library (stand-in)\n"
        ipp[prefix + "ippcore.dll"] = "IPP core library (stand-in)\n"
    put_data(f"{MODULES}/IPP", "Orvanto_2018.0.0.992_IPP.zip", archive(ipp))
    put_data(f"{MODULES}/VAVUZirar", "Orvanto_Quiver_VAVUZirar_Config_4.0.zip", archive(
        {name: f"{name} (demo repository stand-in)\n" for name in file_table("kSmartCardConfigFiles")}))
    program_files = {f"CP210x_Universal_Windows_Driver/{name.replace(chr(92), '/')}": f"{name} (stand-in)\n"
                     for name in file_table("kSmartCardDriverFiles")}
    program_files.update({f"VAVUZirar_Program 5.0/{name}": f"{name} (stand-in)\n"
                          for name in file_table("kSmartCardProgramFiles")})
    put_data(f"{MODULES}/VAVUZirar", "VAVUZirar_Program_And_Driver_5.0.zip", archive(program_files))

    builds = [(f"DeepformVision/1.0.0.{b}", f"1.0.0.{b}", b, f"Deepform Vision 1.0.0.{b}")
              for b in [333, 355, 383, 550, 612, 719, 758, 819, 1114]]
    builds += [("DeepformVisionPy36/1.0.0.819_02_Py36", "1.0.0.819_02_Py36", 819, "Deepform Vision 1.0.0.819(02)"),
               ("DeepformVisionPy36/1.0.0.1114_Py36", "1.0.0.1114_Py36", 1114, "Deepform Vision 1.0.0.1114")]
    for folder, stem, build, title in builds:
        where = f"{TOOLBOXES}/{folder}"
        put_data(where, stem + "_Files.zip", archive(toolbox_files(build)))
        put(where, stem + "_readme.rtf", readme(title))
        if build == 355:
            continue  # a build whose lists are not on the server
        otc, otp = [], []
        for group, name in [("Measure", "Plane Fit"), ("Measure", "Cylinder Fit"), ("Fit", "Box Fit")]:
            class_name = name.replace(" ", "") + "3D"
            put_data(where, class_name + ".zip", archive({
                f"{class_name}_{stem}/{class_name}.py": f"# 3D tool component {name} (demo repository stand-in)\n"}))
            otc.append((group, {"Name": name, "ClassName": class_name, "VersionLabel": stem,
                                "URL": f"{TOOLBOX_SERVER}/{folder}/{class_name}.zip"}))
        class_name = "PointCloudDemo" + stem.replace(".", "_")
        put_data(where, class_name + ".zip", archive({
            f"{class_name}/Orvanto.Opb": "Orvanto 3D demo profile (demo repository stand-in)\n",
            f"{class_name}/General.Ini": f"[Identification]\nName=Point Cloud Demo\nVersionLabel={stem}\n"}))
        otp.append(("Demo", {"Name": "Point Cloud Demo", "ClassName": class_name, "VersionLabel": stem,
                             "URL": f"{TOOLBOX_SERVER}/{folder}/{class_name}.zip"}))
        put(where, stem + "_OTC.txt", sectioned(otc))
        put(where, stem + "_OTP.txt", sectioned(otp))
    # The Python 3.6 builds' bridge package (the stand-in pip records it from the name).
    put(f"{MODULES}/Py36/PythonNet", "pythonnet-2.3.0-cp36-cp36m-win32.whl", "pythonnet 2.3.0 wheel (stand-in)\n")


def pdf(title):
    """A one-page PDF document whose page shows the title."""
    stream = f"BT /F1 18 Tf 72 720 Td ({title}) Tj ET".encode()
    objects = [b"<< /Type /Catalog /Pages 2 0 R >>", b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
               b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R "
               b"/Resources << /Font << /F1 5 0 R >> >> >>",
               b"<< /Length %d >>\nstream\n" % len(stream) + stream + b"\nendstream",
               b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"]
    out, offsets = b"%PDF-1.4\n", []
    for number, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % number + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    out += b"".join(b"%010d 00000 n \n" % offset for offset in offsets)
    return out + b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)


def png(size, colour):
    """A square PNG picture of one colour with a lighter frame."""
    import zlib
    light = tuple(min(255, c + 80) for c in colour)
    rows = b"".join(b"\0" + b"".join(bytes(light if min(x, y, size - 1 - x, size - 1 - y) < 4 else colour)
                                      for x in range(size)) for y in range(size))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def rtf(title, paragraphs):
    body = "".join("\\par " + p.replace("\\", "\\\\").replace("{", "\\{").replace("}", "\\}") + "\n"
                   for p in paragraphs)
    return ("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20{\\b\\fs28 " + title + "}\n" + body + "}\n")


# UI dialog names of every page: each has a help document.
HELP_PAGES = ["Installation Welcome", "Resources", "Readme Notes", "Prerequisite Installation", "Core Installation",
              "CoreComponents", "Recommended Extensions", "Recommended Extensions (Python 36)",
              "Toolbox - Deepform Vision", "Toolbox - Deepform Vision (Python 36)", "Optional Extensions",
              "Optional Extensions (Python 36)", "OTC - Tool Components", "OTC - Tool Components (Python 36)",
              "Installation Complete", "Import Orvanto Profiles", "Demonstration Profiles",
              "Demonstration Profiles (Python 36)", "Tutorials", "Image Processing Options", "Modules",
              "3rd Party Camera Drivers - 1", "3rd Party Camera Drivers - 2", "3rd Party IO Drivers",
              "Optional Utility Software I", "Optional Utility Software II", "Halvenor Utilities"]


def documents(put, put_data):
    """Tutorials, resources, the readme and the help documents."""
    tutorials, sections = "orvanto/tutorials", ""
    for n, tab, caption, name, video in [
            (1, "Getting Started", "First Inspection", "First Inspection", True),
            (2, "Getting Started", "Cameras and Lighting", "", True),  # folder named after the caption
            (3, "Getting Started Advanced", "Calibration", "Calibration", True),
            (4, "Python", "Python Tools", "Python Tools", False)]:  # no video
        profile = caption.replace(" ", "") + "Tutorial"
        profile_zip = archive({f"{profile}/Orvanto.Opb": f"Orvanto profile of the tutorial {caption}\n",
                               f"{profile}/General.Ini": f"[Identification]\nName={caption}\nVersionLabel=1.0.0.{n}\n"})
        put_data(tutorials, f"Tutorial{n}.zip", archive({f"{caption}.pdf": pdf(f"Tutorial: {caption}"),
                                                         f"{profile}.zip": profile_zip}))
        sections += (f"[{n:02d} {tab}]\nCaption={caption}\nName={name}\nProfileName={profile}\n"
                     f"ProfileZIP={profile}.zip\nURL=@@SERVER@@/{tutorials}/Tutorial{n}.zip\nPDFName={caption}.pdf\n"
                     + (f"VideoURL=@@SERVER@@/orvanto/info/video{n}.html\n" if video else "")
                     + f"InfoText=Tutorial {n}: {caption}\n"
                     + (f"InfoURL=@@SERVER@@/orvanto/info/tutorial{n}.html\n" if n == 1 else "") + "\n")
    put(LISTS, "774tutorials.ini.txt", sections)

    resources, items = "orvanto/resources", []
    put_data(resources, "Quick Start.pdf".replace(" ", ""), pdf("Orvanto Vision Software quick start"))
    put_data(resources, "emblem-blue.png", png(64, (40, 90, 160)))
    put_data(resources, "emblem-green.png", png(64, (40, 140, 70)))
    put_data(resources, "broken.png", b"\x89PNG\r\n\x1a\n not really a picture")
    put_data(resources, "photo.jpg", b"\xff\xd8\xff\xe0 a JPEG is never shown")
    for k in range(14):  # more than twelve links in the first column
        items.append(("Links", f"Application note {k + 1}", f"@@SERVER@@/orvanto/info/note{k + 1}.html", 0, None))
    items += [("Links", "Quick start (PDF)", f"@@SERVER@@/{resources}/QuickStart.pdf", 2, None),
              ("Links", "Support forum", "@@SERVER@@/orvanto/info/forum.html", 2, None),
              ("Links", "Release history", "@@SERVER@@/orvanto/info/history.html", 3, None),
              ("Pictures", "Blue emblem", f"@@SERVER@@/{resources}/emblem-blue.png", 0,
               f"@@SERVER@@/{resources}/emblem-blue.png"),
              ("Pictures", "Green emblem", "@@SERVER@@/orvanto/info/green.html", 0,
               f"@@SERVER@@/{resources}/emblem-green.png"),
              ("Pictures", "Photo", "@@SERVER@@/orvanto/info/photo.html", 0, f"@@SERVER@@/{resources}/photo.jpg"),
              ("Pictures", "Broken picture", "@@SERVER@@/orvanto/info/broken.html", 0,
               f"@@SERVER@@/{resources}/broken.png"),
              ("Pictures", "No picture", "@@SERVER@@/orvanto/info/none.html", 0, None),
              ("Getting Started", "Getting started video", "@@SERVER@@/orvanto/info/start.html", 0, None),
              ("Getting Started Advanced", "Advanced calibration", "@@SERVER@@/orvanto/info/advanced.html", 0, None)]
    put(LISTS, "774resorces.ini.txt", "".join(
        f"[{n:02d} {tab}]\nName={name}\nURL={url}\nColumn={column}\n" + (f"ImageURL={image}\n" if image else "") + "\n"
        for n, (tab, name, url, column, image) in enumerate(items, 1)))
    for page in ["forum", "history", "green", "photo", "broken", "none", "start", "advanced"] + \
            [f"note{k + 1}" for k in range(14)] + [f"video{n}" for n in range(1, 5)] + ["tutorial1"]:
        put("orvanto/info", f"{page}.html", f"<html><body>{page} (demo repository stand-in)</body></html>\n")

    # The readme is longer than a rich-edit control holds by default.
    notes = [f"{k + 1}. Change note {k + 1}: the inspection tools of this release were measured and documented "
             f"again; see the manual, chapter {k % 12 + 1}." for k in range(400)]
    put(LISTS, "774readme.rtf", rtf("Orvanto Vision Software XV 15.0.0.774 - Readme Notes",
                                   ["What is new in this release."] + notes + ["End of the readme notes."]))
    for page in HELP_PAGES:
        put(f"{LISTS}/HelpFiles", f"774Help - {page}.rtf", rtf(f"Help - {page}", [
            f"This page is '{page}'.", "Use the buttons of each row to install, run or remove its component.",
            "The 'Web Help' button opens the online documentation."]))


# ---- The installer's own newer versions -----------------------------------------------------------

NEXT = "orvanto/files/InstallerDownloads/Orvanto15.0/775"
NEXT_FILE = "OrvantoVisionSoftware_15_0_0_775_Installer_201015.exe"
BETA_FILE = "OrvantoVisionSoftware_15_0_0_775_Installer_Beta1.exe"


def upgrade_ini(name, number, installer, notes, folder=NEXT):
    return (f"[Version Upgrade Info]\nLatestVersionName={name}\nLatestVersionNumber={number}\n"
            f"ReleaseNotesFileName={notes}\nReleaseNotesFilePath=@@SERVER@@/{folder}/\n"
            f"InstallerFileName={installer}\nInstallerFilePath=@@SERVER@@/{folder}/\n")


def upgrades(put):
    """The newer installer (this program built again as 775), its release
    notes, and the two upgrade-info files in every variant the demo server
    can be switched to (scripts/serve-repository serves the chosen one)."""
    with open(NEXT_INSTALLER, "rb") as f:
        installer = f.read()
    put(NEXT, NEXT_FILE, installer)
    put(NEXT, BETA_FILE, installer)
    rtf = ("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\fs20 {\\b %s}\\par\\par "
           "Stand-in release notes of the demo repository.\\par - Faster start-up\\par - Fixes in the catalogue pages\\par}")
    put(NEXT, "ReleaseNotes_775.rtf", text(rtf % "Orvanto Vision Software XV 775 Installer"))
    put(NEXT, "ReleaseNotes_775_Beta1.rtf", text(rtf % "Orvanto Vision Software XV 775 Beta 1 Installer"))
    # Beta notes published under the release notes' name, in a folder of their own.
    put(NEXT + "/beta", "ReleaseNotes_775.rtf", text(rtf % "Orvanto Vision Software XV 775 Beta 1 Installer"))
    release = upgrade_ini("Orvanto Vision Software XV 775 Installer", "15.0.0.775", NEXT_FILE, "ReleaseNotes_775.rtf")
    beta = upgrade_ini("Orvanto Vision Software XV 775 Beta 1 Installer", "15.0.0.775", BETA_FILE,
                       "ReleaseNotes_775_Beta1.rtf")
    current = upgrade_ini("Orvanto Vision Software XV 774 Installer", "15.0.0.774",
                          "OrvantoVisionSoftware_15_0_0_774_Installer_200831.exe", "ReleaseNotes_775.rtf")
    modes = {
        "release": (release, current),
        "none": (current, current),
        "beta": (release, beta),
        "missing-notes": (upgrade_ini("Orvanto Vision Software XV 775 Installer", "15.0.0.775", NEXT_FILE,
                                      "ReleaseNotes_Missing.rtf"), current),
        "older": (upgrade_ini("Orvanto Vision Software XV 700 Installer", "15.0.0.700", NEXT_FILE,
                              "ReleaseNotes_775.rtf"), current),
        # Names that would write outside the folder, replace the running
        # program, or are no installer of the family.
        "hostile": (upgrade_ini("Orvanto Vision Software XV 775 Installer", "15.0.0.775",
                                "..\\..\\OrvantoVisionSoftware_15_0_0_775_Installer_201015.exe", "ReleaseNotes_775.rtf"),
                    upgrade_ini("Orvanto Vision Software XV 775 Beta 1 Installer", "15.0.0.775",
                                "OrvantoVisionSoftware_15_0_0_774_Installer_200831.exe", "ReleaseNotes_775.rtf")),
        "hostile-notes": (upgrade_ini("Orvanto Vision Software XV 775 Installer", "15.0.0.775", NEXT_FILE,
                                      "..\\ReleaseNotes_775.rtf"),
                          upgrade_ini("Orvanto Vision Software XV 775 Beta 1 Installer", "15.0.0.775",
                                      "setup.exe", "ReleaseNotes_775.rtf")),
        "same-notes-name": (release, upgrade_ini("Orvanto Vision Software XV 775 Beta 1 Installer", "15.0.0.775",
                                                 BETA_FILE, "ReleaseNotes_775.rtf", NEXT + "/beta")),
        # An installer name that fits no application folder.
        "long-name": (upgrade_ini("Orvanto Vision Software XV 775 Installer", "15.0.0.775",
                                  "OrvantoVisionSoftware_15_0_0_775_Installer_" + "x" * 200 + ".exe",
                                  "ReleaseNotes_775.rtf"), current),
    }
    for mode, (release_ini, beta_ini) in modes.items():
        put(f"{LISTS}/upgrade-modes/{mode}", "774UpgradeInfo.ini.txt", text(release_ini))
        put(f"{LISTS}/upgrade-modes/{mode}", "774UpgradeInfoBeta.ini.txt", text(beta_ini))


def main():
    shutil.rmtree(OUT, ignore_errors=True)
    os.makedirs(WORK)
    tree = {}

    def put(folder, name, data):
        tree[f"{folder}/{name}"] = data

    put(PREREQUISITES, "vc2005sp1 - redist_x86.exe", bundle([redistributable(
        "vc2005.msi", "{7299052b-02a4-4627-81f2-1818da5d550d}", "Microsoft Visual C++ 2005 Redistributable",
        "8.0.61001")]))
    put(PREREQUISITES, "vc2008sp1 - redist_x86.exe", bundle([redistributable(
        "vc2008.msi", "{9A25302D-30C0-39D9-BD6F-21E6EC160475}",
        "Microsoft Visual C++ 2008 Redistributable - x86 9.0.30729.6161", "9.0.30729.6161")]))
    put(MICROSOFT, "vc2010sp1 - redist_x86.exe", bundle([redistributable(
        "vc2010.msi", "{F0C3E5D1-1ADE-321E-8167-68EF0DE699A5}",
        "Microsoft Visual C++ 2010  x86 Redistributable - 10.0.40219", "10.0.40219")]))
    for file, key, year, version in [
            ("vc2017_14.15.26706_redist_x86.exe", "{7e9fae12-5bbf-47fb-b944-09c49e75c061}", "2017", "14.15.26706"),
            ("VC_14.26.28720.3_redist_x86.exe", "{86380aef-fd23-4fc3-8723-a98ccad8f2c6}", "2015-2019", "14.26.28720")]:
        runtime = Package(file + ".msi", guid(file), f"Microsoft Visual C++ {year} X86 Runtime - {version}",
                          version, ("ProgramFilesFolder", ["Orvanto demo repository", f"VC++ {year}"]),
                          registry=[marker(f"VC++ {year}")] + bundle_entry(
                              key, file, f"Microsoft Visual C++ {year} Redistributable (x86) - {version}",
                              version + (".0" if year == "2017" else ".3")),
                          hidden=True)
        put(MICROSOFT, file, bundle([runtime], cache=(key, file)))
    ndp = "SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v2.0.50727"
    put(PREREQUISITES, "dotnetfx_2.0.50727.42.exe", bundle([Package(
        "dotnetfx.msi", guid("dotnetfx 2.0.50727.42"), "Microsoft .NET Framework 2.0", "2.0.50727",
        ("ProgramFilesFolder", ["Orvanto demo repository", ".NET Framework 2.0"]),
        registry=[(ndp, "Install", "integer", "1"), (ndp, "Version", "string", "2.0.50727.42")])]))
    # The update brings the installer library of version 3.1 into the 32-bit
    # system folder; where a library is there already it changes nothing.
    with open(os.path.join(TOOLS, "Msi.dll"), "rb") as f:
        library = f.read()
    put(PREREQUISITES, "WindowsInstaller-KB893803-v2-x86.exe", bundle([Package(
        "msi31.msi", guid("Windows Installer 3.1 KB893803"), "Windows Installer 3.1 (KB893803)", "3.1.4000",
        system_files={"Msi.dll": library}, keep_system_files=True)]))

    put(PY27, "python-2.7.9.msi", python27("2.7.9", "{79F081BF-7454-43DB-BD8F-9EE596813232}", "python279.chm").build())
    put(PY27, "python-2.7.13.msi",
        python27("2.7.13", "{4A656C6C-D24A-473F-9747-3A8D00907A03}", "python2713.chm").build())
    put(PY36, "python-3.6.6.exe", bundle(python36(), cache=(PYTHON36_KEY, "python-3.6.6.exe"),
                                         search_path="Software\\Python\\PythonCore\\3.6-32\\InstallPath"))

    runtime = Package("runtime.msi", "{76C2FFEE-53C1-4382-B051-5CF47ED51327}", RUNTIME_NAME, "15.0.774",
                      ("ProgramFilesFolder", ["Halvenor AS", "Orvanto Runtime XV 15.0.0.774"]), runtime_files(),
                      registry=[("SOFTWARE\\HALVENOR AS\\" + RUNTIME_NAME, "InstallPath", "string", "[INSTALLDIR]")])
    put(CORE, "OrvantoRuntime_15_0_0_774_ReDist_200831.exe", bundle([runtime]))
    vision = Package("vision.msi", "{356E8CAF-215F-46B8-B8E4-625FD2FD8666}",
                     "Orvanto Vision Software Version XV 15.0.0.774", "15.0.774",
                     ("ProgramFilesFolder", ["Halvenor AS", "Orvanto Vision Software XV 15.0.0.774"]),
                     {"OrvantoVisionSoftware.exe": program(),
                      "readme.txt": "Orvanto Vision Software XV 15.0.0.774 (demo repository stand-in).\n"})
    put(CORE, "OrvantoVisionSoftware_15_0_0_774_200831.exe", bundle([vision]))
    put(CORE, "OrvantoKadrixSDK_15_0_0_774_Installer_200831.exe", program())
    optional_components(put)
    python_packages(put)

    catalogues(put)
    modules_and_toolboxes(put)
    upgrades(put)

    for path, data in tree.items():
        target = os.path.join(OUT, *path.split("/"))
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as f:
            f.write(data)
    for folder in ["orvanto/CycleController", "orvanto/files/InstallerRepositories/Orvanto15.0/774/OrvantoVisionSoftware"]:
        os.makedirs(os.path.join(OUT, *folder.split("/")), exist_ok=True)
    shutil.rmtree(WORK)
    print(f"demo repository: {len(tree)} files in {OUT}")


if __name__ == "__main__":
    main()
