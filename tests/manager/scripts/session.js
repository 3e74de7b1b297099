// Late bound from JScript, whose arrays reach a server as Dictionary.Keys(). Wine's JScript cannot
// keep a returned SAFEARRAY in a variable, nor read a VT_ARRAY|VT_BSTR: those are checked in-process.
var out = new ActiveXObject("Scripting.FileSystemObject").CreateTextFile(WScript.Arguments(0), true);
function list(name) {
    var keys = new ActiveXObject("Scripting.Dictionary");
    keys.Add(name, 0);
    return keys;
}
var pkg = new ActiveXObject("TARNEVO.PropertyPackageManager").GetPropertyPackage("ScriptGas");
pkg.Initialize();
var values = new VBArray(pkg.GetCompoundConstant(list("molecularWeight").Keys(), list("ETHANE").Keys())).toArray();
out.WriteLine("constants: " + pkg.ComponentName + " " + Math.round(values[0] * 1000));
try {
    pkg.GetCompoundConstant(list("criticalTemperature").Keys(), list("WATER").Keys());
} catch (e) {
    out.WriteLine("error: " + (e.number >>> 0).toString(16) + " " + e.description);
}
out.Close();
