' Late bound, as a VBA or script user works: every interface by name, script arrays, COM error
' info. Wine's VBScript cannot index a returned VT_ARRAY|VT_BSTR or VT_ARRAY|VT_R8 (error 445):
' such lists are checked in-process.
Set out = CreateObject("Scripting.FileSystemObject").CreateTextFile(WScript.Arguments(0), True)
Set manager = CreateObject("TARNEVO.PropertyPackageManager")
manager.Initialize
out.WriteLine "list: " & IsArray(manager.GetPropertyPackageList())
Set package = manager.GetPropertyPackage("ScriptGas")
package.Initialize
out.WriteLine "package: " & package.ComponentName & " " & package.GetNumCompounds() & " " & package.GetNumPhases()
values = package.GetCompoundConstant(Array("molecularWeight", "criticalTemperature"), Array("ethane"))
out.WriteLine "constants: " & Int(values(0) * 1000) & " " & Int(values(1) * 100)
package.GetTDependentProperty Array("vaporPressure"), 250, Array("ETHANE"), pressures
out.WriteLine "vapor pressure: " & IsArray(pressures)
On Error Resume Next
values = package.GetCompoundConstant(Array("molecularWeight", 2), Array())
out.WriteLine "error: " & Hex(Err.Number) & " " & Err.Description & " (" & Err.Source & ")"
Err.Clear : count = manager.GetPropertyPackage("NoSuchPackage").GetNumCompounds()
out.WriteLine "missing: " & Hex(Err.Number)
Err.Clear : Set system = CreateObject("TARNEVO.ThermoSystem")
out.WriteLine "system list: " & Hex(Err.Number) & " " & VarType(system.GetPropertyPackages())
out.WriteLine "system package: " & Hex(Err.Number) & " " & system.ResolvePropertyPackage("ScriptGas").GetNumCompounds()
out.Close
