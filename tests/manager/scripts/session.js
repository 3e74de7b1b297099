// Late bound from JScript: its arrays reach a server as Dictionary.Keys() (VT_ARRAY|VT_VARIANT).
// Wine's JScript cannot hold a returned SAFEARRAY in a variable and VBArray gives E_NOTIMPL for
// VT_ARRAY|VT_BSTR; such lists are checked in-process.
var out = new ActiveXObject("Scripting.FileSystemObject").CreateTextFile(WScript.Arguments(0), true);
function list() {
    var keys = new ActiveXObject("Scripting.Dictionary");
    for (var i = 0; i < arguments.length; ++i) keys.Add(arguments[i], i);
    return keys;
}
var manager = new ActiveXObject("TARNEVO.PropertyPackageManager");
manager.Initialize();
var pkg = manager.GetPropertyPackage("ScriptGas");
pkg.Initialize();
out.WriteLine("package: " + pkg.ComponentName + " " + pkg.GetNumCompounds() + " " + pkg.GetNumPhases());
var values = new VBArray(pkg.GetCompoundConstant(list("molecularWeight").Keys(), list("ETHANE").Keys())).toArray();
out.WriteLine("constants: " + Math.round(values[0] * 1000) / 1000);
try {
    pkg.GetCompoundConstant(list("criticalTemperature").Keys(), list("WATER").Keys());
} catch (e) {
    out.WriteLine("error: " + (e.number >>> 0).toString(16).toUpperCase() + " " + e.description);
}
out.Close();
